#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "assets/assets.h"
#include "shell/shell.h"

namespace {

constexpr const char* ReplacementSuffix = ".new";

bool writeAll(int descriptor, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(descriptor, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string fileTarget(const char* name) {
    struct stat link = {};
    if (::lstat(name, &link) != 0 || !S_ISLNK(link.st_mode)) {
        return name;
    }
    char resolved[PATH_MAX];
    if (::realpath(name, resolved) != nullptr) {
        struct stat target = {};
        const bool regular = ::stat(resolved, &target) == 0 && S_ISREG(target.st_mode);
        return regular ? resolved : name;
    }
    // A dangling link: the file it names is made. Relative names count from the link's folder,
    // which is the working folder.
    const ssize_t length = ::readlink(name, resolved, sizeof resolved - 1);
    if (length <= 0) {
        return name;
    }
    resolved[length] = '\0';
    return resolved;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int lockFolder(const std::string& folderPath) {
    const int folder =
        aboveStandardStreams(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder >= 0) {
        while (::flock(folder, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return folder;
}

bool isReadOnlyFile(unsigned int mode, const std::string& path) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int mode, int folder) {
    const std::string replacement = path + ReplacementSuffix;
    const int descriptor = aboveStandardStreams(
        ::open(replacement.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (descriptor < 0) {
        return false;
    }
    const bool written = ::fchmod(descriptor, static_cast<mode_t>(mode)) == 0 &&
                         writeAll(descriptor, bytes, count) && ::fsync(descriptor) == 0;
    int failure = errno;
    ::close(descriptor);
    if (written && ::rename(replacement.c_str(), path.c_str()) == 0) {
        if (folder >= 0) {
            ::fsync(folder);
        }
        return true;
    }
    failure = written ? errno : failure;
    ::unlink(replacement.c_str());
    errno = failure;
    return false;
}
