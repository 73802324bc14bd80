// Shared ground for the picture checks: running make_pictures, reading its files back, and
// measuring colours in screen coordinates the way the game maps the pictures onto the screen.
#pragma once

#include "picture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace picture_checks {

// A fresh empty folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs make_pictures with the given arguments, its error output discarded; returns its exit
// status, or -1 if it could not be run or did not exit normally.
int runMakePictures(const std::vector<std::string>& arguments);

// The data folder of one generation shared by the checks of this test process.
const std::filesystem::path& generatedDataDir();

// Decoded pictures of that generation (empty picture if the file cannot be read).
const pictures::RgbaPicture& generatedPicture(std::string_view relativePath);

// Checks that read the shared generation: they stop at once if make_pictures failed.
class GeneratedPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(generatedDataDir().empty()) << "make_pictures did not succeed";
    }
};

// Where a picture stands on the 1024 x 768 screen and how much of its height is shown there
// (0.745 for the pictures mapped from t = 0.255 to 1).
struct Placement {
    double x;
    double y;
    double width;
    double height;
    double shownFraction;
};
constexpr Placement fullScreen{0.0, 0.0, 1024.0, 768.0, 0.745};

// A block of screen pixels, first to last inclusive on both axes.
struct ScreenPixels {
    int firstX;
    int lastX;
    int firstY;
    int lastY;
};

struct Rgb {
    double r;
    double g;
    double b;
};
double luma(Rgb colour);
double distance(Rgb a, Rgb b);

// The picture's pixel shown at the centre of screen pixel (x, y).
Rgb shownAt(const pictures::RgbaPicture& picture, Placement placement, int x, int y);

// Mean colour over a block of screen pixels, optionally leaving out an inner block.
Rgb meanShown(const pictures::RgbaPicture& picture, Placement placement, ScreenPixels area);
Rgb meanShownOutside(const pictures::RgbaPicture& picture, Placement placement, ScreenPixels outer,
                     ScreenPixels hole);

// Darkest and lightest luma over a block of screen pixels.
struct LumaRange {
    double darkest;
    double lightest;
};
LumaRange lumaRangeShown(const pictures::RgbaPicture& picture, Placement placement,
                         ScreenPixels area);

} // namespace picture_checks
