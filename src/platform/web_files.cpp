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
#include "platform/posix_file_handles.h"

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

} // namespace

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
