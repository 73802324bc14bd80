// The working folder and folders in general, on Linux and in the browser alike; where the
// program and the player's folder are is each system's own (linux_program_folder.cpp,
// web_program_folder.cpp).
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

bool isFolder(const std::string& path) {
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool enterFolder(const std::string& folder) {
    return ::chdir(folder.c_str()) == 0;
}

} // namespace platform
