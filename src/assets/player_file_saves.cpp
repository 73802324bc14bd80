// What the saves of the player's files (Data.dat, Settings.txt) share: the folder's lock and the
// telling of a save that failed.
#include <cstdio>
#include <string>

#include "assets/assets.h"
#include "platform/game_folder.h"

bool failedSaveShown = false;

namespace {

constexpr const char* FailedSaveCaption = "ERROR";

} // namespace

platform::FileHandle lockForSaving(const std::string& path) {
    platform::FileHandle lock = platform::lockFolderOf(path);
    if (!lock.isOpen()) {
        // Saved all the same: a lost level is worse than a rival copy's save that may cross it.
        std::fprintf(stderr, "tolvar: cannot lock the folder of %s (%s): saving without the lock\n",
                     path.c_str(), platform::lastFileError().c_str());
    }
    return lock;
}

void tellFailedSave(const char* what, const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "tolvar: cannot save %s in %s (%s)\n", what, path.c_str(), reason.c_str());
    if (failedSaveShown) {
        return;
    }
    failedSaveShown = true; // once a run: the next failure is most likely this one again
    const std::string folder = platform::workingFolder();
    const std::string text = "Can't save " + std::string(what) + " in " + path +
                             (folder.empty() ? "" : " in\n" + folder) + ":\n" + reason +
                             "\n\nWhat you unlock or change now is kept only until the game ends.";
    platform::showMessageBox(text.c_str(), FailedSaveCaption, platform::MessageBoxButtons::Ok,
                             platform::MessageBoxIcon::Exclamation);
}
