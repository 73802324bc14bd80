// Every area the game reacts to is drawn as a button that stands out from its surroundings: the
// colour inside the area differs clearly from a thin ring of pixels just outside it.
#include "generated_pictures.h"

#include <array>

namespace picture_checks {
namespace {

struct ButtonArea {
    const char* name;
    ScreenPixels pixels; // the pixels that count as a click, inclusive
};

// An area given with exclusive bounds, left < x < right and top < y < bottom.
constexpr ScreenPixels exclusive(int left, int right, int top, int bottom) {
    return ScreenPixels{left + 1, right - 1, top + 1, bottom - 1};
}

// The ring: up to three pixels outside the area, the first pixel beyond each bound included.
constexpr int ringWidth = 3;

// Thresholds on 0..255 channels: a button must differ from the ground it sits on at a glance.
constexpr double leastColourDistance = 60.0;
constexpr double leastLumaDifference = 35.0;

void expectDiffer(Rgb a, Rgb b) {
    EXPECT_GE(distance(a, b), leastColourDistance);
    EXPECT_GE(std::abs(luma(a) - luma(b)), leastLumaDifference);
}

void expectStandsOut(std::string_view picturePath, const ButtonArea& button) {
    SCOPED_TRACE(std::string(picturePath) + ": " + button.name);
    const pictures::RgbaPicture& picture = generatedPicture(picturePath);
    ASSERT_GT(picture.width, 0);
    const ScreenPixels area = button.pixels;
    const ScreenPixels ring{area.firstX - ringWidth, area.lastX + ringWidth,
                            area.firstY - ringWidth, area.lastY + ringWidth};
    {
        SCOPED_TRACE("whole area against the ring");
        expectDiffer(meanShown(picture, fullScreen, area),
                     meanShownOutside(picture, fullScreen, ring, area));
    }
    // Side by side as well: the colour must change right at every bound, so a button drawn a
    // few pixels off its area fails on the side where it spills over or falls short.
    struct Side {
        const char* name;
        ScreenPixels inside;
        ScreenPixels outside;
    };
    const int w = ringWidth - 1;
    const Side sides[] = {
        {"top",
         {area.firstX, area.lastX, area.firstY, area.firstY + w},
         {area.firstX, area.lastX, area.firstY - ringWidth, area.firstY - 1}},
        {"bottom",
         {area.firstX, area.lastX, area.lastY - w, area.lastY},
         {area.firstX, area.lastX, area.lastY + 1, area.lastY + ringWidth}},
        {"left",
         {area.firstX, area.firstX + w, area.firstY, area.lastY},
         {area.firstX - ringWidth, area.firstX - 1, area.firstY, area.lastY}},
        {"right",
         {area.lastX - w, area.lastX, area.firstY, area.lastY},
         {area.lastX + 1, area.lastX + ringWidth, area.firstY, area.lastY}},
    };
    for (const Side& side : sides) {
        SCOPED_TRACE(std::string(side.name) + " edge");
        expectDiffer(meanShown(picture, fullScreen, side.inside),
                     meanShown(picture, fullScreen, side.outside));
    }
}

using ClickAreas = GeneratedPictures;

TEST_F(ClickAreas, MainMenuButtonsStandOut) {
    constexpr std::array<ButtonArea, 3> buttons{{{"Play", exclusive(440, 530, 390, 430)},
                                                 {"Help", exclusive(440, 530, 440, 480)},
                                                 {"Quit", exclusive(440, 530, 490, 530)}}};
    for (const ButtonArea& button : buttons) {
        expectStandsOut("Kuvat/Taustat/menu.jpg", button);
    }
}

TEST_F(ClickAreas, PlayMenuButtonsStandOut) {
    constexpr std::array<ButtonArea, 3> buttons{{{"New game", exclusive(410, 580, 405, 435)},
                                                 {"Level select", exclusive(400, 590, 440, 470)},
                                                 {"Back", exclusive(400, 590, 475, 505)}}};
    for (const ButtonArea& button : buttons) {
        expectStandsOut("Kuvat/Taustat/playmenu.jpg", button);
    }
}

TEST_F(ClickAreas, LevelSelectBackButtonStandsOut) {
    expectStandsOut("Kuvat/Taustat/loadgame.jpg", ButtonArea{"Back", exclusive(20, 170, 700, 745)});
}

TEST_F(ClickAreas, InLevelButtonsStandOutInEveryLevel) {
    struct LevelRows {
        int mainMenu[2];
        int startOver[2];
        int levelSelect[2];
    };
    constexpr std::array<LevelRows, 5> rows{{{{596, 624}, {531, 559}, {563, 591}},
                                             {{581, 609}, {511, 539}, {546, 574}},
                                             {{566, 589}, {501, 524}, {533, 556}},
                                             {{561, 589}, {501, 524}, {531, 554}},
                                             {{601, 629}, {541, 564}, {571, 594}}}};
    for (std::size_t level = 1; level <= rows.size(); ++level) {
        const LevelRows& row = rows[level - 1];
        const std::string path = "Kuvat/Taustat/runtausta" + std::to_string(level) + ".jpg";
        expectStandsOut(path, {"main menu", {891, 944, row.mainMenu[0], row.mainMenu[1]}});
        expectStandsOut(path, {"start over", {891, 944, row.startOver[0], row.startOver[1]}});
        expectStandsOut(path, {"level select", {891, 944, row.levelSelect[0], row.levelSelect[1]}});
    }
}

} // namespace
} // namespace picture_checks
