// A game folder of its own for one fault test: a copy of the generated Data/ and a Data.dat, in
// a temporary directory that becomes the working directory, so a damaged file never touches the
// build's data.
#pragma once

#include <filesystem>
#include <string>

namespace faults {

enum class Damage { Missing, Truncated, Garbage, Oversized, Fifo };

const char* damageName(Damage damage);

class GameFolder {
public:
    // Copies the generated data, writes Data.dat holding `progress` and moves into the folder.
    explicit GameFolder(const std::string& progress);
    ~GameFolder(); // back to the previous working directory; the folder is removed
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }

    // Damages a file given relative to the folder ("Data/Musat/67.it"): removed, cut to half of
    // its bytes, or overwritten by as many bytes of noise; or, for a PNG or JPEG picture, its
    // header made to claim a size far too large to decode (100000 or 60000 pixels a side; the JPEG
    // decoder itself stops at 65500); or replaced by a FIFO that nobody writes to, whose open
    // and read would block for ever.
    void damage(const std::string& relativePath, Damage damage) const;

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};

} // namespace faults
