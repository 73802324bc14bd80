// The game writes its own text over some pictures in plain white or black (drawText's glyphs are
// white ink, so the text takes the current colour alone). Those pictures need ground under the
// text that contrasts with it.
#include "generated_pictures.h"

#include <array>

namespace picture_checks {
namespace {

// Text is readable when every pixel under white text is at most this light, and every pixel
// under black text at least this light (luma, 0..255).
constexpr double lightestUnderWhiteText = 110.0;
constexpr double darkestUnderBlackText = 150.0;

struct TextLine {
    int x;        // left end of the baseline
    int baseline; // y of the baseline
    int characters;
};

// The pixels a line of the game's bitmap font covers, with a little margin: glyphs stand up to
// capHeight above the baseline and 4 below it, and advance about advance pixels each.
ScreenPixels underText(TextLine line, int capHeight, int advance) {
    return ScreenPixels{line.x - 2, line.x + line.characters * advance + 2,
                        line.baseline - capHeight - 2, line.baseline + 4};
}

// The four HUD lines of a level: "Level N", "Balance", "differential: 9", "Blocks left: 30".
// The 16-pixel font advances about 10 pixels a character; 11 is allowed for, so the two long
// lines reach x 1020.
constexpr std::array<TextLine, 4> hudLines{
    {{890, 50, 7}, {883, 150, 7}, {855, 165, 15}, {855, 200, 15}}};
constexpr int smallCap = 13;
constexpr int smallAdvance = 11;

std::string levelBackground(int level) {
    return "Kuvat/Taustat/runtausta" + std::to_string(level) + ".jpg";
}

// The level-complete box: drawn at x 150..650, y 350..450 with its upper 74.5 % shown.
constexpr Placement completionBox{150.0, 350.0, 500.0, 100.0, 0.745};

using TextGround = GeneratedPictures;

TEST_F(TextGround, WhiteHudOfLevelsOneToFourSitsOnDarkGround) {
    for (int level = 1; level <= 4; ++level) {
        const pictures::RgbaPicture& picture = generatedPicture(levelBackground(level));
        ASSERT_GT(picture.width, 0);
        for (const TextLine& line : hudLines) {
            SCOPED_TRACE("level " + std::to_string(level) + ", line at y " +
                         std::to_string(line.baseline));
            EXPECT_LE(lumaRangeShown(picture, fullScreen, underText(line, smallCap, smallAdvance))
                          .lightest,
                      lightestUnderWhiteText);
        }
    }
}

TEST_F(TextGround, BlackHudOfLevelFiveSitsOnLightGround) {
    const pictures::RgbaPicture& picture = generatedPicture(levelBackground(5));
    ASSERT_GT(picture.width, 0);
    for (const TextLine& line : hudLines) {
        SCOPED_TRACE("line at y " + std::to_string(line.baseline));
        EXPECT_GE(
            lumaRangeShown(picture, fullScreen, underText(line, smallCap, smallAdvance)).darkest,
            darkestUnderBlackText);
    }
}

TEST_F(TextGround, LevelSelectLabelsSitOnDarkGround) {
    const pictures::RgbaPicture& picture = generatedPicture("Kuvat/Taustat/loadgame.jpg");
    ASSERT_GT(picture.width, 0);
    // "Level 1" .. "Level 5" in the 36-pixel font from x 410, baselines 60 apart; about 22
    // pixels a character, 23 allowed for.
    for (int baseline : {350, 410, 470, 530, 590}) {
        SCOPED_TRACE("label at y " + std::to_string(baseline));
        EXPECT_LE(
            lumaRangeShown(picture, fullScreen, underText({410, baseline, 7}, 27, 23)).lightest,
            lightestUnderWhiteText);
    }
    // Between the labels too the whole column stays dark, so no label shows on a bright patch.
    EXPECT_LE(luma(meanShown(picture, fullScreen, ScreenPixels{410, 560, 325, 590})), 60.0);
}

TEST_F(TextGround, CountdownSitsOnTheDarkInsideOfTheBox) {
    const pictures::RgbaPicture& picture = generatedPicture("Kuvat/Objektit/ihqbox.jpg");
    ASSERT_GT(picture.width, 0);
    // "Completed! Next level begins... Ready? 5": 40 characters from (200, 400).
    EXPECT_LE(
        lumaRangeShown(picture, completionBox, underText({200, 400, 40}, smallCap, smallAdvance))
            .lightest,
        lightestUnderWhiteText);
}

TEST_F(TextGround, CheckedAreasAreReallyMeasured) {
    // A guard on the measuring itself: the light mat and the dark HUD panel of level 1 must
    // read as such, or the checks above could pass on a wrong mapping.
    const pictures::RgbaPicture& picture = generatedPicture(levelBackground(1));
    ASSERT_GT(picture.width, 0);
    EXPECT_GE(luma(shownAt(picture, fullScreen, 2, 2)), 230.0);
    EXPECT_LE(luma(shownAt(picture, fullScreen, 930, 180)), 60.0);
    EXPECT_GE(luma(shownAt(picture, fullScreen, 930, 400)), 150.0); // sky below the panel
}

} // namespace
} // namespace picture_checks
