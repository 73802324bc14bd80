#include <cstdio>
#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/game_folder.h"
#include "platform/platform.h"

namespace platform {

// Opened without blocking: the open of a FIFO would wait for a writer for ever (and a signal
// could not end that wait), and a device may never end its reads. Only a regular file is read,
// and for one that changes nothing. Named on standard error as the game names it.
std::FILE* openDataFile(const char* path) {
    FileHandle file;
    if (openForReading(gameFilePath(path), file) != OpenResult::Opened) {
        std::fprintf(stderr, "tolvar: %s: %s\n", path, lastFileError().c_str());
        return nullptr;
    }
    if (!isRegularFile(file)) {
        std::fprintf(stderr, "tolvar: %s: not a regular file\n", path);
        return nullptr;
    }
    std::FILE* stream = readingStream(std::move(file));
    if (stream == nullptr) {
        std::fprintf(stderr, "tolvar: %s: %s\n", path, lastFileError().c_str());
    }
    return stream;
}

} // namespace platform
