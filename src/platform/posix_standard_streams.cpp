#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix_standard_streams.h"
#include "platform/standard_streams.h"

namespace platform {

// A launcher or a service manager may start the game with one of them closed; the next file
// opened would then take its number, and whatever the game or a library writes to standard error
// would land in that file. /dev/null takes the place instead, opened for reading only: a write to
// a closed output still fails as it would have (EBADF), so --help with its output closed says so.
void openStandardStreams() {
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int opened = ::open("/dev/null", O_RDONLY);
        // The lowest free number is taken, which is this one while the ones below it are open.
        if (opened >= 0 && opened != stream) {
            ::dup2(opened, stream);
            ::close(opened);
        }
    }
}

int aboveStandardStreams(int descriptor) {
    if (descriptor < 0 || descriptor > STDERR_FILENO) {
        return descriptor;
    }
    const int moved = ::fcntl(descriptor, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(descriptor);
    return moved;
}

} // namespace platform
