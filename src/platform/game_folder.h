// The game's folders, below the seam. The working folder holds the player's Data.dat and
// Settings.txt; the game's own files (Data/, the fonts) lie in the folder where Data/ was found,
// which is the same folder except for an installed copy on a system without a launcher to make
// the player a folder of their own. Paths are UTF-8; where to look, and what to say when nothing
// is found, is decided above.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string workingFolder(); // "" when it cannot be told
std::string programFolder(); // the running program's; "" when it cannot be told
bool isFolder(const std::string& path);
bool enterFolder(const std::string& folder); // makes it the working folder; false when refused

// The installer writes this file beside the program; a copy without it is a portable one.
// src/CMakeLists.txt reads the name from here for the installer (TOLVAR_INSTALLED_MARKER).
constexpr const char* InstalledMarkerName = "installed.txt";
// The portable zip carries this file beside the program: such a copy makes its own first Data.dat
// (holding 1), as an installed one does, where a bare build folder without one says it cannot
// open it. The zip never carries a Data.dat, which would lower the progress of a player who
// unpacks a newer zip over an older one. packaging/windows.cmake reads the name from here.
constexpr const char* PortableMarkerName = "portable.txt";

// The folder an installed copy keeps the player's progress and settings in, made if missing;
// "" for a copy that keeps them beside itself (a portable one, or where a launcher starts the
// game in the player's folder).
std::string installedPlayerFolder();

// Where the game's own files are: `folder` holds Data/ ("" for the working folder).
void setGameDataFolder(std::string folder);
// The path to open for a game file named relative to that folder ("Data/Kuvat/...",
// "Fonts/..."): the name itself while the data lie in the working folder.
std::string gameFilePath(std::string_view relative);

} // namespace platform
