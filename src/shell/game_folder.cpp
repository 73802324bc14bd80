#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "shell/shell.h"

namespace {

constexpr const char* FolderCaption = "ERROR";

bool holdsDataFolder(const char* folder) {
    char path[PATH_MAX + 8];
    std::snprintf(path, sizeof path, "%s/%.*s", folder, static_cast<int>(layout::dataFolder.size()),
                  layout::dataFolder.data());
    struct stat data = {};
    return ::stat(path, &data) == 0 && S_ISDIR(data.st_mode);
}

// The folder of the running program, or "" when it cannot be told.
void programFolder(char (&folder)[PATH_MAX]) {
    const ssize_t length = ::readlink("/proc/self/exe", folder, sizeof folder - 1);
    folder[length > 0 ? length : 0] = '\0';
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr) {
        folder[0] = '\0';
    } else {
        slash[slash == folder ? 1 : 0] = '\0';
    }
}

} // namespace

bool findGameFolder() {
    char working[PATH_MAX];
    if (::getcwd(working, sizeof working) == nullptr) {
        std::strcpy(working, ".");
    }
    if (holdsDataFolder(working)) {
        return true;
    }
    char program[PATH_MAX];
    programFolder(program);
    if (program[0] != '\0' && holdsDataFolder(program) && ::chdir(program) == 0) {
        openProgressFile(); // the one opened at start-up belonged to the other folder
        return true;
    }
    char text[2 * PATH_MAX + 128];
    std::snprintf(text, sizeof text, "Can't find the game's Data folder. Looked in:\n%s\n%s",
                  working, program[0] != '\0' ? program : "(the program's own folder is unknown)");
    std::fprintf(stderr, "%s: %s\n", FolderCaption, text);
    platform::showMessageBox(text, FolderCaption, platform::MessageBoxButtons::Ok,
                             platform::MessageBoxIcon::Error);
    return false;
}
