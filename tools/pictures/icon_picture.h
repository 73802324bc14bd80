// The game's icon for desktop menus: a tilted board on the ball with a block on each end, on a
// rounded tile of the menus' dusk sky. Drawn at any square size the desktop asks for.
#pragma once

#include "canvas.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

namespace pictures {

// Sizes the icon is drawn at: below 16 pixels nothing of it reads, above 1024 no desktop asks.
constexpr int smallestIconSize = 16;
constexpr int largestIconSize = 1024;

// The size written as a plain decimal number within the range above; nullopt otherwise.
std::optional<int> parseIconSize(std::string_view text);

// Draws the icon over the whole (square, transparent) canvas.
void paintIcon(Canvas& canvas);

// Writes the icon as a size x size RGBA PNG, creating the folder as needed. Reports a failure on
// errors and returns false when the file could not be written.
bool makeIcon(const std::filesystem::path& path, int size, std::ostream& errors);

} // namespace pictures
