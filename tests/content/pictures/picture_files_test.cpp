// Every picture the game loads is there, in its format and size, and nothing else is written.
#include "generated_pictures.h"

#include <array>
#include <set>
#include <string>

namespace picture_checks {
namespace {

struct ExpectedPicture {
    const char* path;
    int width;
    int height;
    bool png;
};

// Written out again here, from the game's picture list, rather than taken from the tool.
constexpr std::array<ExpectedPicture, 25> expectedPictures{{
    {"Kuvat/Taustat/logo.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/menu.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/playmenu.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/runtausta1.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/runtausta2.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/runtausta3.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/runtausta4.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/runtausta5.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/GO.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/help.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/Credits.jpg", 1024, 1024, false},
    {"Kuvat/Taustat/loadgame.jpg", 1024, 1024, false},
    {"Kuvat/Objektit/lauta.jpg", 512, 32, false},
    {"Kuvat/Objektit/ihqbox.jpg", 512, 256, false},
    {"Kuvat/Objektit/Pallo.png", 128, 128, true},
    {"Kuvat/Objektit/1.jpg", 32, 64, false},
    {"Kuvat/Objektit/2.jpg", 32, 64, false},
    {"Kuvat/Objektit/3.jpg", 32, 64, false},
    {"Kuvat/Objektit/4.jpg", 32, 64, false},
    {"Kuvat/Objektit/5.jpg", 32, 64, false},
    {"Kuvat/Objektit/6.jpg", 32, 64, false},
    {"Kuvat/Objektit/7.jpg", 32, 64, false},
    {"Kuvat/Objektit/8.jpg", 32, 64, false},
    {"Kuvat/Objektit/9.jpg", 32, 64, false},
    {"Kuvat/Objektit/10.jpg", 32, 64, false},
}};

using PictureFiles = GeneratedPictures;

TEST_F(PictureFiles, EveryPictureIsWrittenInItsFormatAndSize) {
    for (const ExpectedPicture& expected : expectedPictures) {
        SCOPED_TRACE(expected.path);
        const std::filesystem::path path = generatedDataDir() / expected.path;
        ASSERT_TRUE(std::filesystem::is_regular_file(path));
        const std::optional<pictures::RgbaPicture> picture =
            expected.png ? pictures::readPng(path) : pictures::readJpeg(path);
        ASSERT_TRUE(picture.has_value()) << "not a readable " << (expected.png ? "PNG" : "JPEG");
        EXPECT_EQ(picture->width, expected.width);
        EXPECT_EQ(picture->height, expected.height);
        // Colour JPEGs; the one PNG carries an alpha channel for the ball's blending.
        EXPECT_EQ(picture->fileChannels, expected.png ? 4 : 3);
    }
}

TEST_F(PictureFiles, NothingElseIsWritten) {
    std::set<std::string> expected;
    for (const ExpectedPicture& picture : expectedPictures) {
        expected.insert(picture.path);
    }
    std::set<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(generatedDataDir())) {
        if (entry.is_regular_file()) {
            written.insert(entry.path().lexically_relative(generatedDataDir()).generic_string());
        }
    }
    EXPECT_EQ(written, expected);
}

TEST_F(PictureFiles, JpegsAreNotReadAsPngsNorTheOtherWayRound) {
    // The readers must refuse the wrong kind, or the format check above would prove nothing.
    EXPECT_FALSE(pictures::readPng(generatedDataDir() / "Kuvat/Taustat/logo.jpg").has_value());
    EXPECT_FALSE(pictures::readJpeg(generatedDataDir() / "Kuvat/Objektit/Pallo.png").has_value());
    EXPECT_FALSE(pictures::readJpeg(generatedDataDir() / "Kuvat/missing.jpg").has_value());
}

} // namespace
} // namespace picture_checks
