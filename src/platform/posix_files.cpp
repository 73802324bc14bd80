// The game's files on Linux: the durable replace (a file of its own beside the old one, synced,
// renamed over it, the folder synced), the folder lock with flock, and symbolic links followed to
// where the player's files really live. Handles, reading and status: posix_file_handles.cpp.
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/lock_waits.h"
#include "platform/posix_file_handles.h"
#include "platform/posix_standard_streams.h"

namespace platform {

namespace {

// The new content's own file beside the old one, the X's made unique by mkostemp: two saves never
// share one, even where no lock keeps them apart.
constexpr const char* ReplacementSuffix = ".saving-XXXXXX";

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int openFolder(const std::string& filePath) {
    return aboveStandardStreams(
        ::open(folderOf(filePath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool flockWithoutSignals(int descriptor, int operation) {
    while (::flock(descriptor, operation) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// A rename reaches the disk with its folder. Some file systems cannot sync a folder; the file's
// own content has reached the disk all the same, so that is no failure of the save.
void syncFolderOf(const std::string& filePath) {
    const int folder = openFolder(filePath);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

std::string fileTarget(const std::string& name) {
    struct stat link = {};
    if (::lstat(name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return name;
    }
    char resolved[PATH_MAX];
    if (::realpath(name.c_str(), resolved) != nullptr) {
        struct stat target = {};
        const bool regular = ::stat(resolved, &target) == 0 && S_ISREG(target.st_mode);
        return regular ? resolved : name;
    }
    // A dangling link: the file it names is made. Relative names count from the link's folder,
    // which is the working folder.
    const ssize_t length = ::readlink(name.c_str(), resolved, sizeof resolved - 1);
    if (length <= 0) {
        return name;
    }
    resolved[length] = '\0';
    return resolved;
}

// The folder itself is opened and locked, so no lock file is left in the player's folder.
FileHandle lockFolderOf(const std::string& filePath) {
    FileHandle folder(openFolder(filePath));
    if (!folder.isOpen()) {
        return folder;
    }
    const int descriptor = descriptorOf(folder);
    if (flockWithoutSignals(descriptor, LOCK_EX | LOCK_NB)) {
        return folder;
    }
    if (errno == EWOULDBLOCK) { // another copy holds it
        tellLockWaitBegins();
        if (flockWithoutSignals(descriptor, LOCK_EX)) {
            return folder;
        }
    }
    // ENOLCK, or EOPNOTSUPP on some network and FUSE file systems: no lock to be had.
    const int failure = errno;
    folder.close();
    errno = failure;
    return folder;
}

bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int permissions) {
    std::string replacement = path + ReplacementSuffix;
    const int descriptor = aboveStandardStreams(::mkostemp(replacement.data(), O_CLOEXEC));
    if (descriptor < 0) {
        return false;
    }
    const bool written = ::fchmod(descriptor, static_cast<mode_t>(permissions)) == 0 &&
                         writeAll(descriptor, bytes, count) && ::fsync(descriptor) == 0;
    int failure = errno;
    ::close(descriptor);
    if (written && ::rename(replacement.c_str(), path.c_str()) == 0) {
        syncFolderOf(path);
        return true;
    }
    failure = written ? errno : failure;
    ::unlink(replacement.c_str());
    errno = failure;
    return false;
}

std::string lastFileError() {
    return std::strerror(errno);
}

} // namespace platform
