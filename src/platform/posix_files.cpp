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
#include "platform/posix_standard_streams.h"

namespace platform {

namespace {

constexpr const char* ReplacementSuffix = ".new";

int descriptorOf(const FileHandle& file) {
    return static_cast<int>(file.systemHandle());
}

OpenResult openWith(const std::string& path, int flags, FileHandle& file) {
    file.close();
    const int descriptor = aboveStandardStreams(::open(path.c_str(), flags | O_NOCTTY | O_CLOEXEC));
    if (descriptor < 0) {
        return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
    }
    file = FileHandle(descriptor);
    return OpenResult::Opened;
}

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

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

void FileHandle::close() {
    if (handle != None) {
        ::close(static_cast<int>(handle));
        handle = None;
    }
}

OpenResult openForUpdate(const std::string& path, FileHandle& file) {
    return openWith(path, O_RDWR | O_NONBLOCK, file);
}

OpenResult openForReading(const std::string& path, FileHandle& file) {
    return openWith(path, O_RDONLY | O_NONBLOCK, file);
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(descriptorOf(file), buffer, count);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool isRegularFile(const FileHandle& file) {
    struct stat status = {};
    return ::fstat(descriptorOf(file), &status) == 0 && S_ISREG(status.st_mode);
}

std::FILE* readingStream(FileHandle file) {
    std::FILE* stream = ::fdopen(descriptorOf(file), "rb");
    if (stream != nullptr) {
        file.release(); // the stream closes it
    }
    return stream;
}

FileStatus fileStatus(const std::string& path) {
    FileStatus file;
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0) {
        return file;
    }
    file.exists = true;
    file.regular = S_ISREG(status.st_mode);
    file.readOnly =
        (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
    if (file.regular) {
        file.permissions = status.st_mode & 07777;
    }
    return file;
}

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
    const int folder = aboveStandardStreams(
        ::open(folderOf(filePath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder >= 0) {
        while (::flock(folder, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    return FileHandle(folder);
}

bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int permissions, const FileHandle& folderLock) {
    const std::string replacement = path + ReplacementSuffix;
    const int descriptor = aboveStandardStreams(
        ::open(replacement.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (descriptor < 0) {
        return false;
    }
    const bool written = ::fchmod(descriptor, static_cast<mode_t>(permissions)) == 0 &&
                         writeAll(descriptor, bytes, count) && ::fsync(descriptor) == 0;
    int failure = errno;
    ::close(descriptor);
    if (written && ::rename(replacement.c_str(), path.c_str()) == 0) {
        // The rename itself reaches the disk with the folder; the locked one is that folder.
        if (folderLock.isOpen()) {
            ::fsync(descriptorOf(folderLock));
        }
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
