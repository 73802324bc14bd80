// The pictures Windows asks of a program and its installer, drawn from the game's icon: the
// program's icon file and the installer's header picture.
#pragma once

#include <filesystem>
#include <ostream>

namespace pictures {

// The icon sizes an icon file holds: Explorer's lists and details (16 to 48), its large views
// and the Start menu's tiles (64 to 256).
constexpr int windowsIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};

// The header picture's size in the installer's pages, as NSIS's Modern UI lays it out.
constexpr int installerHeaderWidth = 150;
constexpr int installerHeaderHeight = 57;

// Writes the icon as a Windows .ico: each size above as a PNG entry, as Windows Vista and later
// read them. Reports a failure on errors and returns false when the file could not be written.
bool makeWindowsIcon(const std::filesystem::path& path, std::ostream& errors);

// Writes the installer's header picture, the icon on the page's white, as a 24-bit BMP (all
// NSIS takes there). Reports a failure and returns false when the file could not be written.
bool makeInstallerHeader(const std::filesystem::path& path, std::ostream& errors);

} // namespace pictures
