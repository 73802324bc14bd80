// Where the program lies on Linux: /proc names the running program's file.
#include <unistd.h>

#include <string>

#include "platform/game_folder.h"

namespace platform {

std::string programFolder() {
    std::string program(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
        if (length <= 0) {
            return "";
        }
        if (static_cast<std::size_t>(length) < program.size()) {
            program.resize(static_cast<std::size_t>(length));
            break;
        }
        program.resize(program.size() * 2); // it may have been cut short: read it again
    }
    const std::size_t slash = program.rfind('/');
    if (slash == std::string::npos) {
        return "";
    }
    return program.substr(0, slash == 0 ? 1 : slash);
}

// The launcher (tolvar.sh) makes the player's folder and starts the game in it.
std::string installedPlayerFolder() {
    return "";
}

} // namespace platform
