// Drawing every picture of the catalogue and writing it under a data folder.
#pragma once

#include <filesystem>
#include <ostream>

namespace pictures {

// Writes all 25 pictures under dataDir, creating folders as needed. Reports each failure on
// errors and returns false if any picture could not be written.
bool makeAllPictures(const std::filesystem::path& dataDir, std::ostream& errors);

} // namespace pictures
