// What the rendering tests share: a working folder holding the game's pictures (the generated
// ones, some of them replaced by pictures of known colours), the game's own start-up on the
// offscreen context, and the drawing read back the way a player would see it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "picture_codec.h"
#include "support/picture_slots.h"

namespace render {

// The pictures the tests paint and read back.
using Picture = pictures::RgbaPicture;

constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;

struct Colour {
    int r = 0;
    int g = 0;
    int b = 0;
};

bool operator==(const Colour& a, const Colour& b);
std::ostream& operator<<(std::ostream& out, const Colour& colour);

// Every channel within `tolerance` of the other's.
bool closeTo(const Colour& a, const Colour& b, int tolerance);
int largestChannelDifference(const Colour& a, const Colour& b);

// The whole drawing read back from the buffer being drawn, addressed in drawing space
// (x to the right, y downwards, one unit a pixel on the 1024x768 offscreen window).
struct Screenshot {
    std::vector<std::uint8_t> rgb; // bottom row first, as the graphics library gives it
    Colour at(int x, int y) const;
};

Screenshot readScreen();

// The mean colour of the pixels x in [left, right), y in [top, bottom).
Colour meanColour(const Screenshot& shot, int left, int top, int right, int bottom);

// Mean colours of a grid of equal cells over the whole screen, or over the whole of a decoded
// picture (top row first), row by row.
std::vector<Colour> gridMeans(const Screenshot& shot, int columns, int rows);
std::vector<Colour> gridMeans(const Picture& picture, int columns, int rows);
// The mean over all cells of the largest channel difference of two grids of one shape.
double gridDistance(const std::vector<Colour>& a, const std::vector<Colour>& b);

// Pixels that differ from `background` by more than `tolerance` in some channel, inside the
// rectangle x in [left, right), y in [top, bottom); as y * ScreenWidth + x, in ascending order.
std::vector<int> pixelsUnlike(const Screenshot& shot, const Colour& background, int tolerance,
                              int left, int top, int right, int bottom);

// Draws a texture over the whole drawing space with all of it shown (t 0 at the bottom edge,
// 1 at the top), opaque, on a cleared buffer.
void drawWholeTexture(unsigned int texture);

// Pictures the tests write themselves, painted on a canvas that starts transparent black.
using Painter = std::function<void(Picture& canvas)>;
void writeJpegPicture(const std::filesystem::path& path, int width, int height,
                      const Painter& paint);
void writePngPicture(const std::filesystem::path& path, int width, int height,
                     const Painter& paint); // with an alpha channel
// Sets the pixels whose centres lie in the rectangle to the colour with that opacity.
void paintSolid(Picture& canvas, const Colour& colour, double left, double top, double width,
                double height, double alpha = 1.0);

// The ten weight pictures replaced by solid colours far apart from each other, by weight.
extern const Colour WeightColours[11];
void writeWeightPictures();

// The game's pictures as the build generates them, in their loading order; the slot of each
// (paths relative to the working folder).
using CataloguedPicture = expected::PictureSlot;
std::span<const CataloguedPicture> pictureCatalogue();

// A decoded picture file of the working folder (JPEG or PNG by its extension).
Picture decodePicture(const std::filesystem::path& relativePath);

// A fresh working folder holding a copy of the generated Data/Kuvat/ (and of Fonts/ where the
// working folder has one), entered on construction, left and removed on destruction.
class PictureFolder {
public:
    PictureFolder();
    ~PictureFolder();
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// A test run from its own picture folder: prepares pictures, then starts the game up to the
// point where its first frame would run (window, image library, textures, frame timer) in the
// order the game itself does.
class RenderTest : public ::testing::Test {
protected:
    void TearDown() override;
    void startUp();

    PictureFolder folder;
    bool started = false;
};

} // namespace render
