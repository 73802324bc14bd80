// The screen areas the game reacts to, which the pictures must show as buttons. The game keeps
// its own copy of these numbers; they are repeated here because the pictures are made apart
// from the game.
#pragma once

#include "screen_space.h"

#include <array>

namespace pictures::click_areas {

// Main menu (menu.jpg).
constexpr ExclusiveArea mainMenuPlay{440, 530, 390, 430};
constexpr ExclusiveArea mainMenuHelp{440, 530, 440, 480};
constexpr ExclusiveArea mainMenuQuit{440, 530, 490, 530};

// Play menu (playmenu.jpg).
constexpr ExclusiveArea playMenuNewGame{410, 580, 405, 435};
constexpr ExclusiveArea playMenuLevelSelect{400, 590, 440, 470};
constexpr ExclusiveArea playMenuBack{400, 590, 475, 505};

// Level select (loadgame.jpg).
constexpr ExclusiveArea levelSelectBack{20, 170, 700, 745};

// The level labels the game writes on loadgame.jpg: left end of each baseline.
constexpr double levelLabelX = 410.0;
constexpr std::array<double, 5> levelLabelBaselines{350.0, 410.0, 470.0, 530.0, 590.0};

// The three buttons inside every level (runtaustaN.jpg): all share x, each level has its own
// rows. Inclusive bounds.
struct LevelButtons {
    InclusiveArea mainMenu;
    InclusiveArea startOver; // back to level 1
    InclusiveArea levelSelect;
};
constexpr int levelButtonFirstX = 891;
constexpr int levelButtonLastX = 944;
constexpr LevelButtons levelButtonRows(int firstMain, int lastMain, int firstOver, int lastOver,
                                       int firstSelect, int lastSelect) {
    return LevelButtons{
        InclusiveArea{levelButtonFirstX, levelButtonLastX, firstMain, lastMain},
        InclusiveArea{levelButtonFirstX, levelButtonLastX, firstOver, lastOver},
        InclusiveArea{levelButtonFirstX, levelButtonLastX, firstSelect, lastSelect}};
}
constexpr std::array<LevelButtons, 5> levelButtons{
    levelButtonRows(596, 624, 531, 559, 563, 591), levelButtonRows(581, 609, 511, 539, 546, 574),
    levelButtonRows(566, 589, 501, 524, 533, 556), levelButtonRows(561, 589, 501, 524, 531, 554),
    levelButtonRows(601, 629, 541, 564, 571, 594)};

} // namespace pictures::click_areas
