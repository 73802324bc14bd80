#include <string>
#include <string_view>
#include <utility>

#include "platform/game_folder.h"

namespace platform {

namespace {

std::string gameDataFolder; // "" while it is the working folder

} // namespace

void setGameDataFolder(std::string folder) {
    gameDataFolder = std::move(folder);
}

// '/' between the folder and the name: Win32 takes it as well as '\'.
std::string gameFilePath(std::string_view relative) {
    if (gameDataFolder.empty()) {
        return std::string(relative);
    }
    std::string path = gameDataFolder;
    if (!path.ends_with('/') && !path.ends_with('\\')) {
        path += '/';
    }
    return path.append(relative);
}

} // namespace platform
