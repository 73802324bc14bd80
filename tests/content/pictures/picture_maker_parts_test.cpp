// The picture maker's own parts, checked directly: the screen-to-picture mapping, the file
// writers and readers, and the lettering.
#include "canvas.h"
#include "game_objects.h"
#include "generated_pictures.h"
#include "picture_files.h"
#include "screen_space.h"
#include "text.h"

#include <fstream>

namespace picture_checks {
namespace {

using pictures::Canvas;
using pictures::CanvasKind;

struct Point {
    double x;
    double y;
};

Point pictureFromScreen(pictures::QuadPlacement quad, int width, int height, Point screen) {
    Canvas canvas(width, height, CanvasKind::Opaque);
    pictures::mapScreenOntoPicture(canvas.context(), quad, width, height);
    cairo_user_to_device(canvas.context(), &screen.x, &screen.y);
    return screen;
}

TEST(ScreenMapping, FullScreenPictureShowsItsUpperRowsOnly) {
    const Point topLeft = pictureFromScreen(pictures::fullScreenQuad, 1024, 1024, Point{0.0, 0.0});
    EXPECT_DOUBLE_EQ(topLeft.x, 0.0);
    EXPECT_DOUBLE_EQ(topLeft.y, 0.0);
    // The screen's bottom edge is t = 0.255, row 0.745 x 1024 from the top.
    const Point bottomRight =
        pictureFromScreen(pictures::fullScreenQuad, 1024, 1024, Point{1024.0, 768.0});
    EXPECT_DOUBLE_EQ(bottomRight.x, 1024.0);
    EXPECT_NEAR(bottomRight.y, 0.745 * 1024.0, 1e-9);
    EXPECT_NEAR(pictures::wholePictureOnScreen(pictures::fullScreenQuad).bottom(), 768.0 / 0.745,
                1e-9);
}

TEST(ScreenMapping, BoxQuadLandsOnTheBoxPicture) {
    const pictures::QuadPlacement box{pictures::Rect{150.0, 350.0, 500.0, 100.0}, 0.745};
    const Point corner = pictureFromScreen(box, 512, 256, Point{150.0, 350.0});
    EXPECT_NEAR(corner.x, 0.0, 1e-9);
    EXPECT_NEAR(corner.y, 0.0, 1e-9);
    const Point far = pictureFromScreen(box, 512, 256, Point{650.0, 450.0});
    EXPECT_NEAR(far.x, 512.0, 1e-9);
    EXPECT_NEAR(far.y, 0.745 * 256.0, 1e-9);
}

TEST(ScreenMapping, ClickAreasBecomeExactlyTheirPixels) {
    // 440 < x < 530 counts pixels 441..529: 89 of them, starting at 441.
    const pictures::Rect menuButton = pictures::drawnArea(layout::ClickRect{440, 390, 530, 430});
    EXPECT_DOUBLE_EQ(menuButton.x, 441.0);
    EXPECT_DOUBLE_EQ(menuButton.width, 89.0);
    EXPECT_DOUBLE_EQ(menuButton.y, 391.0);
    EXPECT_DOUBLE_EQ(menuButton.height, 39.0);
    // 890 < x < 945 counts pixels 891..944: 54 of them.
    const pictures::Rect levelButton = pictures::drawnArea(layout::ClickRect{890, 595, 945, 625});
    EXPECT_DOUBLE_EQ(levelButton.x, 891.0);
    EXPECT_DOUBLE_EQ(levelButton.width, 54.0);
    EXPECT_DOUBLE_EQ(levelButton.y, 596.0);
    EXPECT_DOUBLE_EQ(levelButton.height, 29.0);
}

void fill(Canvas& canvas, double r, double g, double b, double a = 1.0) {
    cairo_set_source_rgba(canvas.context(), r, g, b, a);
    cairo_set_operator(canvas.context(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(canvas.context());
    cairo_set_operator(canvas.context(), CAIRO_OPERATOR_OVER);
}

TEST(PictureFileRoundTrip, JpegKeepsSizeAndColour) {
    const TemporaryFolder folder;
    Canvas canvas(40, 24, CanvasKind::Opaque);
    fill(canvas, 0.2, 0.6, 0.9);
    const std::filesystem::path path = folder.path() / "flat.jpg";
    ASSERT_TRUE(pictures::writeJpeg(canvas.surface(), path, 92));
    const std::optional<pictures::RgbaPicture> read = pictures::readJpeg(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->width, 40);
    EXPECT_EQ(read->height, 24);
    EXPECT_EQ(read->fileChannels, 3);
    const std::uint8_t* middle = read->at(20, 12);
    EXPECT_NEAR(middle[0], 51, 3);
    EXPECT_NEAR(middle[1], 153, 3);
    EXPECT_NEAR(middle[2], 230, 3);
    EXPECT_EQ(middle[3], 255);
}

TEST(PictureFileRoundTrip, PngKeepsItsAlpha) {
    const TemporaryFolder folder;
    Canvas canvas(16, 16, CanvasKind::Transparent);
    fill(canvas, 0.0, 0.0, 0.0, 0.0);
    cairo_rectangle(canvas.context(), 0.0, 0.0, 8.0, 16.0);
    cairo_set_source_rgb(canvas.context(), 1.0, 0.5, 0.0);
    cairo_fill(canvas.context());
    const std::filesystem::path path = folder.path() / "half.png";
    ASSERT_TRUE(pictures::writePng(canvas.surface(), path));
    const std::optional<pictures::RgbaPicture> read = pictures::readPng(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->fileChannels, 4);
    EXPECT_EQ(read->at(3, 8)[3], 255);
    EXPECT_EQ(read->at(3, 8)[0], 255);
    EXPECT_EQ(read->at(12, 8)[3], 0);
}

TEST(PictureFileRoundTrip, WritersReportFailure) {
    const TemporaryFolder folder;
    Canvas opaque(8, 8, CanvasKind::Opaque);
    EXPECT_FALSE(pictures::writeJpeg(opaque.surface(), folder.path() / "no/such/folder/a.jpg", 90));
    EXPECT_FALSE(pictures::writePng(opaque.surface(), folder.path() / "no/such/folder/a.png"));
    // Only opaque surfaces become JPEGs: an alpha channel would be silently dropped.
    Canvas transparent(8, 8, CanvasKind::Transparent);
    EXPECT_FALSE(pictures::writeJpeg(transparent.surface(), folder.path() / "a.jpg", 90));
}

TEST(PictureFileRoundTrip, DamagedFilesAreRefusedNotCrashedOn) {
    const TemporaryFolder folder;
    Canvas canvas(64, 64, CanvasKind::Opaque);
    fill(canvas, 0.5, 0.5, 0.5);
    const std::filesystem::path whole = folder.path() / "whole.jpg";
    ASSERT_TRUE(pictures::writeJpeg(canvas.surface(), whole, 90));
    std::string bytes;
    {
        std::ifstream in(whole, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::filesystem::path header = folder.path() / "header-only.jpg";
    std::ofstream(header, std::ios::binary) << bytes.substr(0, 20);
    EXPECT_FALSE(pictures::readJpeg(header).has_value());
    const std::filesystem::path garbage = folder.path() / "garbage.png";
    std::ofstream(garbage, std::ios::binary) << "not a picture at all";
    EXPECT_FALSE(pictures::readPng(garbage).has_value());
    EXPECT_FALSE(pictures::readJpeg(garbage).has_value());
}

// Left and right ends of the dark ink on a white canvas, or {-1, -1} when there is none.
std::pair<int, int> inkColumns(const Canvas& canvas) {
    cairo_surface_flush(canvas.surface());
    const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    int left = -1;
    int right = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < canvas.width(); ++x) {
            if ((row[x] & 0xFF) < 128) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

std::pair<int, int> inkOfLine(double squeeze, bool clippedAwayFromOrigin) {
    Canvas canvas(300, 80, CanvasKind::Opaque);
    fill(canvas, 1.0, 1.0, 1.0);
    cairo_t* cr = canvas.context();
    if (clippedAwayFromOrigin) {
        cairo_rectangle(cr, 100.0, 0.0, 200.0, 80.0);
        cairo_clip(cr);
    }
    // Drawn through a transform that scales x and y differently, as the block pictures are.
    cairo_scale(cr, 1.28, 1.6);
    pictures::drawTextLine(cr, "10", pictures::Font{pictures::fonts::sans, 21.0, true},
                           pictures::hexColour(0x000000), 150.0 / 1.28, 30.0,
                           pictures::Align::Centre, squeeze);
    return inkColumns(canvas);
}

TEST(Lettering, SqueezedLinesKeepTheirGlyphsTogetherAndCentred) {
    const auto [wideLeft, wideRight] = inkOfLine(1.0, false);
    const auto [narrowLeft, narrowRight] = inkOfLine(0.6, false);
    ASSERT_GE(wideLeft, 0);
    ASSERT_GE(narrowLeft, 0);
    const double wide = wideRight - wideLeft;
    const double narrow = narrowRight - narrowLeft;
    EXPECT_NEAR(narrow / wide, 0.6, 0.06);
    // Both stay centred on x 150.
    EXPECT_NEAR((wideLeft + wideRight) / 2.0, 150.0, 3.0);
    EXPECT_NEAR((narrowLeft + narrowRight) / 2.0, 150.0, 3.0);
}

TEST(Lettering, TextInsideAClipFarFromTheOriginIsDrawn) {
    const auto [left, right] = inkOfLine(1.0, true);
    const auto [freeLeft, freeRight] = inkOfLine(1.0, false);
    EXPECT_EQ(left, freeLeft);
    EXPECT_EQ(right, freeRight);
}

TEST(Lettering, FitToWidthShrinksOnlyWhatDoesNotFit) {
    Canvas canvas(10, 10, CanvasKind::Opaque);
    const pictures::Font font{pictures::fonts::sans, 20.0, true};
    const double natural = pictures::textWidth(canvas.context(), "Level select", font);
    ASSERT_GT(natural, 50.0);
    const pictures::Font same =
        pictures::fitToWidth(canvas.context(), "Level select", font, natural + 1.0);
    EXPECT_DOUBLE_EQ(same.pixelSize, 20.0);
    const pictures::Font smaller =
        pictures::fitToWidth(canvas.context(), "Level select", font, natural / 2.0);
    EXPECT_LT(smaller.pixelSize, 20.0);
    EXPECT_LE(pictures::textWidth(canvas.context(), "Level select", smaller), natural / 2.0 + 1.0);
}

TEST(BlockColours, EveryStepOfTheScaleIsDarker) {
    for (int weight = pictures::lightestWeight + 1; weight <= pictures::heaviestWeight; ++weight) {
        EXPECT_LT(pictures::luma(pictures::blockColour(weight)),
                  pictures::luma(pictures::blockColour(weight - 1)) - 0.04)
            << "weight " << weight;
    }
}

} // namespace
} // namespace picture_checks
