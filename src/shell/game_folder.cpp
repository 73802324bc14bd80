#include <cstdio>
#include <string>

#include "assets/assets.h"
#include "platform/game_folder.h"
#include "shell/shell.h"

namespace {

constexpr const char* FolderCaption = "ERROR";

bool holdsDataFolder(const std::string& folder) {
    return platform::isFolder(folder + "/" + std::string(layout::dataFolder));
}

// On standard error once, whether or not the box could be shown (an unshown one is printed there
// by the box itself).
bool fail(const std::string& text) {
    if (platform::showMessageBox(text.c_str(), FolderCaption, platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Error) !=
        platform::MessageBoxAnswer::NotShown) {
        std::fprintf(stderr, "%s: %s\n", FolderCaption, text.c_str());
    }
    return false;
}

// The game's files beside the program, the player's in a folder of their own, where the first
// start finds no Data.dat and is given one holding 1.
bool usePlayerFolder(const std::string& player, const std::string& program) {
    if (!platform::enterFolder(player)) {
        return fail("Can't use the folder for your progress:\n" + player);
    }
    platform::setGameDataFolder(program);
    makeProgressFileIfMissing();
    return true;
}

// The working folder holds the game; a portable copy there is given its first Data.dat.
bool useGameFolder() {
    if (platform::fileStatus(platform::PortableMarkerName).exists) {
        makeProgressFileIfMissing();
    }
    return true;
}

bool enterGameFolder() {
    // Made whole rather than assigned ".": GCC 12 at -O3 sees an overlap in that assignment
    // that is not there (-Wrestrict) and the Release build stops.
    const std::string current = platform::workingFolder();
    const std::string working = current.empty() ? std::string(".") : current;
    const std::string program = platform::programFolder();
    const bool programHoldsData = !program.empty() && holdsDataFolder(program);
    if (const std::string player = platform::installedPlayerFolder();
        !player.empty() && programHoldsData) {
        return usePlayerFolder(player, program);
    }
    if (holdsDataFolder(working)) {
        return useGameFolder();
    }
    if (programHoldsData && platform::enterFolder(program)) {
        return useGameFolder();
    }
    return fail("Can't find the game's Data folder. Looked in:\n" + working + "\n" +
                (program.empty() ? "(the program's own folder is unknown)" : program));
}

} // namespace

bool findGameFolder() {
    if (!enterGameFolder()) {
        return false;
    }
    openProgressFile();
    return true;
}
