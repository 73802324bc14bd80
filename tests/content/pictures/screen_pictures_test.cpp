// The full-screen pictures as a set: what the game never shows is harmless, the edges wrap
// cleanly, the five levels look different, and the columns where blocks fall stay calm.
#include "generated_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace picture_checks {
namespace {

constexpr std::array<const char*, 12> screenPictures{
    "Kuvat/Taustat/logo.jpg",       "Kuvat/Taustat/menu.jpg",       "Kuvat/Taustat/playmenu.jpg",
    "Kuvat/Taustat/runtausta1.jpg", "Kuvat/Taustat/runtausta2.jpg", "Kuvat/Taustat/runtausta3.jpg",
    "Kuvat/Taustat/runtausta4.jpg", "Kuvat/Taustat/runtausta5.jpg", "Kuvat/Taustat/GO.jpg",
    "Kuvat/Taustat/help.jpg",       "Kuvat/Taustat/Credits.jpg",    "Kuvat/Taustat/loadgame.jpg"};

std::string levelBackground(int level) {
    return "Kuvat/Taustat/runtausta" + std::to_string(level) + ".jpg";
}

Rgb rowMean(const pictures::RgbaPicture& picture, int row) {
    Rgb sum{0.0, 0.0, 0.0};
    for (int x = 0; x < picture.width; ++x) {
        const std::uint8_t* p = picture.at(x, row);
        sum = Rgb{sum.r + p[0], sum.g + p[1], sum.b + p[2]};
    }
    return Rgb{sum.r / picture.width, sum.g / picture.width, sum.b / picture.width};
}

using ScreenPictures = GeneratedPictures;

TEST_F(ScreenPictures, UnseenBottomRowsAreOnePlainLightColour) {
    // Rows below 0.745 x 1024 are never on screen; whatever is there must not bleed into what
    // is, so it is kept plain and light like the corners.
    constexpr int firstUnseenRow = 770;
    for (const char* path : screenPictures) {
        SCOPED_TRACE(path);
        const pictures::RgbaPicture& picture = generatedPicture(path);
        ASSERT_EQ(picture.height, 1024);
        const Rgb reference = rowMean(picture, picture.height - 1);
        EXPECT_GE(luma(reference), 225.0);
        for (int row = firstUnseenRow; row < picture.height; row += 7) {
            EXPECT_LE(distance(rowMean(picture, row), reference), 6.0) << "row " << row;
        }
    }
}

TEST_F(ScreenPictures, TopRowMatchesTheBottomRowItWrapsOnto) {
    // With repeat wrapping the screen's top edge blends the picture's first and last rows.
    for (const char* path : screenPictures) {
        SCOPED_TRACE(path);
        const pictures::RgbaPicture& picture = generatedPicture(path);
        ASSERT_EQ(picture.height, 1024);
        EXPECT_LE(distance(rowMean(picture, 0), rowMean(picture, picture.height - 1)), 12.0);
    }
}

TEST_F(ScreenPictures, EveryLevelHasItsOwnLook) {
    // Two levels look alike only if both their skies and their lands have about the same mean
    // colour; the side bar is left out.
    struct Look {
        Rgb sky;
        Rgb land;
    };
    std::array<Look, 5> looks{};
    for (int level = 1; level <= 5; ++level) {
        const pictures::RgbaPicture& picture = generatedPicture(levelBackground(level));
        ASSERT_GT(picture.width, 0);
        looks[static_cast<std::size_t>(level - 1)] =
            Look{meanShown(picture, fullScreen, ScreenPixels{20, 830, 20, 380}),
                 meanShown(picture, fullScreen, ScreenPixels{20, 830, 560, 740})};
    }
    for (std::size_t a = 0; a < looks.size(); ++a) {
        for (std::size_t b = a + 1; b < looks.size(); ++b) {
            EXPECT_GE(std::max(distance(looks[a].sky, looks[b].sky),
                               distance(looks[a].land, looks[b].land)),
                      60.0)
                << "levels " << a + 1 << " and " << b + 1;
        }
    }
}

TEST_F(ScreenPictures, ColumnsWhereBlocksFallAreCalm) {
    // Within the two falling columns hardly any pixel differs sharply from the one a few rows
    // below it: no busy detail for the blocks to get lost in.
    constexpr std::array<int, 2> columnLeft{220, 550};
    for (int level = 1; level <= 5; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const pictures::RgbaPicture& picture = generatedPicture(levelBackground(level));
        ASSERT_GT(picture.width, 0);
        int sharp = 0;
        int count = 0;
        for (int left : columnLeft) {
            for (int y = 40; y <= 680; ++y) {
                for (int x = left; x < left + 25; ++x) {
                    const double step = std::abs(luma(shownAt(picture, fullScreen, x, y)) -
                                                 luma(shownAt(picture, fullScreen, x, y + 3)));
                    sharp += step > 30.0 ? 1 : 0;
                    ++count;
                }
            }
        }
        EXPECT_LE(static_cast<double>(sharp) / count, 0.02);
    }
}

} // namespace
} // namespace picture_checks
