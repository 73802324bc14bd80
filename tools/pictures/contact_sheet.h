// One overview PNG of all 25 pictures read back from a data folder: the full-screen pictures as
// the game shows them, the objects enlarged, and a few simulated frames of play with the HUD
// text drawn plain white or black, as the game draws it.
#pragma once

#include <filesystem>
#include <ostream>

namespace pictures {

bool makeContactSheet(const std::filesystem::path& dataDir, const std::filesystem::path& output,
                      std::ostream& errors);

} // namespace pictures
