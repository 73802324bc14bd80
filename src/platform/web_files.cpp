// The game's files in the browser. The page's file system is Emscripten's: the data lie in memory,
// preloaded, and the player's folder is an IndexedDB one (web_player_folder.js) whose changes live
// in memory until they are synced. A replace of a player's file therefore counts as done only once
// the browser's storage holds it. Only this page writes the folder: there is no other copy to
// lock out, and no links, pipes or devices for the player to put in a file's place.
#include <emscripten/emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace platform {

namespace {

constexpr const char* SyncFailure = "the browser's storage did not take it";
bool syncFailed = false; // the last replace failed at the sync, not at the system's calls

// clang-format off
// Writes the page's changed files to IndexedDB and waits until it holds them: 1 then, else 0,
// with the reason on the browser's console.
EM_ASYNC_JS(int, syncPlayerFolder, (), {
    const failure = await new Promise(resolve => FS.syncfs(false, error => resolve(error)));
    if (failure) {
        console.error("could not keep the player's files in the browser's storage: " + failure);
    }
    return failure ? 0 : 1;
});
// clang-format on

int descriptorOf(const FileHandle& file) {
    return static_cast<int>(file.systemHandle());
}

OpenResult openWith(const std::string& path, int flags, FileHandle& file) {
    file.close();
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
    }
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        errno = EISDIR;
        return OpenResult::Failed;
    }
    file = FileHandle(descriptor);
    return OpenResult::Opened;
}

bool writeAll(int descriptor, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(descriptor, bytes, count);
        if (written <= 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void FileHandle::close() {
    if (handle != None) {
        ::close(static_cast<int>(handle));
        handle = None;
    }
}

OpenResult openForUpdate(const std::string& path, FileHandle& file) {
    return openWith(path, O_RDWR, file);
}

OpenResult openForReading(const std::string& path, FileHandle& file) {
    return openWith(path, O_RDONLY, file);
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t count) {
    return ::read(descriptorOf(file), buffer, count);
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
    file.readOnly = (status.st_mode & S_IWUSR) == 0;
    if (file.regular) {
        file.permissions = status.st_mode & 0777;
    }
    return file;
}

std::string fileTarget(const std::string& name) {
    return name;
}

// Only this page writes its folder, and no other page waits on it: the folder itself, open,
// stands for the lock, and no wait ever begins (watchLockWaits' watcher is never told).
FileHandle lockFolderOf(const std::string& filePath) {
    const std::size_t slash = filePath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : filePath.substr(0, slash + 1);
    return FileHandle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int permissions) {
    syncFailed = false;
    std::string replacement = path + ".XXXXXX"; // a name of its own beside the file
    const int descriptor = ::mkstemp(replacement.data());
    if (descriptor < 0) {
        return false;
    }
    const bool written = writeAll(descriptor, bytes, count);
    int failure = errno;
    ::close(descriptor);
    if (written && ::chmod(replacement.c_str(), permissions & 0777) == 0 &&
        ::rename(replacement.c_str(), path.c_str()) == 0) {
        syncFailed = syncPlayerFolder() == 0;
        return !syncFailed;
    }
    failure = written ? errno : failure;
    ::unlink(replacement.c_str());
    errno = failure;
    return false;
}

std::string lastFileError() {
    return syncFailed ? SyncFailure : std::strerror(errno);
}

} // namespace platform
