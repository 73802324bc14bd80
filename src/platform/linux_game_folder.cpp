#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/game_folder.h"

namespace platform {

std::string workingFolder() {
    std::string folder(256, '\0');
    for (;;) {
        if (::getcwd(folder.data(), folder.size()) != nullptr) {
            folder.resize(folder.find('\0'));
            return folder;
        }
        if (errno != ERANGE) {
            return "";
        }
        folder.resize(folder.size() * 2);
    }
}

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

bool isFolder(const std::string& path) {
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool enterFolder(const std::string& folder) {
    return ::chdir(folder.c_str()) == 0;
}

// The launcher (tolvar.sh) makes the player's folder and starts the game in it.
std::string installedPlayerFolder() {
    return "";
}

} // namespace platform
