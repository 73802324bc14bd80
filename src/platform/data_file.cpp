#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace platform {

std::FILE* openDataFile(const char* path) {
    // Opened without blocking: the open of a FIFO would wait for a writer for ever (and a signal
    // could not end that wait), and a device may never end its reads. Only a regular file is
    // read, and for one the flag changes nothing.
    const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        std::fprintf(stderr, "tolvar: %s: %s\n", path, std::strerror(errno));
        return nullptr;
    }
    struct stat file = {};
    if (::fstat(descriptor, &file) != 0 || !S_ISREG(file.st_mode)) {
        std::fprintf(stderr, "tolvar: %s: not a regular file\n", path);
        ::close(descriptor);
        return nullptr;
    }
    std::FILE* stream = ::fdopen(descriptor, "rb");
    if (stream == nullptr) {
        std::fprintf(stderr, "tolvar: %s: %s\n", path, std::strerror(errno));
        ::close(descriptor);
    }
    return stream;
}

} // namespace platform
