// Where the program lies in the browser: the page's file system holds the game's data, preloaded
// into ProgramFolder, and the player's progress and settings in PlayerFolder, which lives in the
// browser's storage and is read from it before the game starts (web_player_folder.js names both).
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/game_folder.h"

namespace platform {

namespace {

constexpr const char* ProgramFolder = "/tolvar";
constexpr const char* PlayerFolder = "/player";

} // namespace

std::string programFolder() {
    return ProgramFolder;
}

// Made by web_player_folder.js before the game starts; made here should that have failed, so that
// the game still plays, only without keeping anything.
std::string installedPlayerFolder() {
    if (::mkdir(PlayerFolder, 0755) != 0 && errno != EEXIST) {
        return "";
    }
    return PlayerFolder;
}

} // namespace platform
