#include "platform/posix_file_handles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/posix_standard_streams.h"

namespace platform {

namespace {

OpenResult openWith(const std::string& path, int flags, FileHandle& file) {
    file.close();
    const int descriptor = aboveStandardStreams(::open(path.c_str(), flags | O_NOCTTY | O_CLOEXEC));
    if (descriptor < 0) {
        return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
    }
    file = FileHandle(descriptor);
    return OpenResult::Opened;
}

} // namespace

int descriptorOf(const FileHandle& file) {
    return static_cast<int>(file.systemHandle());
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

void FileHandle::close() {
    if (handle != None) {
        ::close(static_cast<int>(handle));
        handle = None;
    }
}

OpenResult openForUpdate(const std::string& path, FileHandle& file) {
    const OpenResult opened = openWith(path, O_RDWR | O_NONBLOCK, file);
    // Linux refuses a folder for writing; the browser's file system opens one.
    if (opened == OpenResult::Opened) {
        struct stat status = {};
        if (::fstat(descriptorOf(file), &status) != 0 || S_ISDIR(status.st_mode)) {
            file.close();
            errno = EISDIR;
            return OpenResult::Failed;
        }
    }
    return opened;
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

} // namespace platform
