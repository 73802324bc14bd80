// The game's layout on its 1024 x 768 drawing space (y down): every rectangle a click is tested
// against, where the columns, the board, the ball, the box and the HUD lines stand, and the path
// of every picture and track under the game's folder. The game draws and reacts by these
// numbers, the picture maker paints its buttons and places its objects by the same ones, and the
// build reads the paths from here for its list of generated files. Constants only: nothing here
// needs anything the game or the tools link against.
#pragma once

#include <string_view>

namespace layout {

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

// Full-screen pictures, the board and the box are drawn with texture rows from this fraction up
// to the top, so the bottom rows of their pictures are never shown.
constexpr double hiddenPictureRows = 0.255;

// ---- click rectangles ------------------------------------------------------------------------

// A click rectangle; every bound is exclusive: a click counts when left < x < right and
// top < y < bottom.
struct ClickRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Main menu.
constexpr ClickRect mainMenuPlay{440, 390, 530, 430};
constexpr ClickRect mainMenuHelp{440, 440, 530, 480};
constexpr ClickRect mainMenuQuit{440, 490, 530, 530};

// Play menu.
constexpr ClickRect playMenuNewGame{410, 405, 580, 435};
constexpr ClickRect playMenuLevelSelect{400, 440, 590, 470};
constexpr ClickRect playMenuBack{400, 475, 590, 505};

// Level select: the back button and the five level labels. A label's raster position is the
// left end of its baseline; its rectangle covers the 25 pixels above that baseline.
constexpr ClickRect levelSelectBack{20, 700, 170, 745};
constexpr float levelLabelX = 410.0f;
constexpr float levelLabelBaseline(int level) {
    return 350.0f + 60.0f * static_cast<float>(level - 1);
}
constexpr ClickRect levelLabelRect(int level) {
    const int baseline = static_cast<int>(levelLabelBaseline(level));
    const int left = static_cast<int>(levelLabelX);
    return {left, baseline - 25, left + 150, baseline};
}
// The dark slot the level-select picture gives each label to sit in: it stands out from the
// label's click rectangle by these, so that it holds the label's glyphs, which stand about 27
// pixels above and 8 below the baseline. To a player the slot is the button.
constexpr int levelLabelSlotMarginLeft = 14;
constexpr int levelLabelSlotMarginRight = 22;
constexpr int levelLabelSlotMarginAbove = 11;
constexpr int levelLabelSlotMarginBelow = 12;
constexpr ClickRect levelLabelSlot(int level) {
    const ClickRect label = levelLabelRect(level);
    return {label.left - levelLabelSlotMarginLeft, label.top - levelLabelSlotMarginAbove,
            label.right + levelLabelSlotMarginRight, label.bottom + levelLabelSlotMarginBelow};
}

// The three buttons beside each level, x 891 to 944 and y as listed, both inclusive.
struct LevelButtons {
    ClickRect mainMenu;
    ClickRect startOver; // back to level 1
    ClickRect levelSelect;
};
constexpr ClickRect levelButton(int firstY, int lastY) {
    return {890, firstY - 1, 945, lastY + 1};
}
constexpr LevelButtons levelButtons[5] = {
    {levelButton(596, 624), levelButton(531, 559), levelButton(563, 591)},
    {levelButton(581, 609), levelButton(511, 539), levelButton(546, 574)},
    {levelButton(566, 589), levelButton(501, 524), levelButton(533, 556)},
    {levelButton(561, 589), levelButton(501, 524), levelButton(531, 554)},
    {levelButton(601, 629), levelButton(541, 564), levelButton(571, 594)},
};

// ---- the level scene -------------------------------------------------------------------------

// A textured quad's place: left and right, top and bottom edges.
struct QuadPlace {
    float left;
    float top;
    float right;
    float bottom;
};

// Blocks fall in two columns (their left edges) and are this size.
constexpr float leftColumnX = 220.0f;
constexpr float rightColumnX = 550.0f;
constexpr float blockWidth = 25.0f;
constexpr float blockHeight = 40.0f;

// The board's centre when level, and its quad about that centre.
constexpr float boardX = 395.0f;
constexpr float boardY = 695.0f;
constexpr QuadPlace boardQuad{-200.0f, -7.5f, 200.0f, 7.5f};

constexpr QuadPlace ballQuad{350.0f, 685.0f, 450.0f, 785.0f};
constexpr QuadPlace completionBoxQuad{150.0f, 350.0f, 650.0f, 450.0f};

// Where a line of the game's text starts: the left end of its baseline.
struct TextPlace {
    float x;
    float baseline;
};
constexpr TextPlace hudLevelLabel{890.0f, 50.0f};
constexpr TextPlace hudBalance{883.0f, 150.0f};
constexpr TextPlace hudDifferential{855.0f, 165.0f};
constexpr TextPlace hudBlocksLeft{855.0f, 200.0f};
constexpr TextPlace completionText{200.0f, 400.0f};

// A paused level's title and the line under it, over its dimmed scene. Each is centred on the
// play area: the space left of the right-hand column that holds the HUD and the in-level buttons,
// where the blocks fall and the board tilts. Its middle is the board's centre, which the two
// columns stand either side of. The title stands at the screen's middle height.
constexpr float playAreaCentreX = boardX;
constexpr float pausedTitleBaseline = 384.0f;
constexpr float pausedHintBaseline = 420.0f;

// ---- pictures and tracks ---------------------------------------------------------------------

// Every path below lies in this folder, relative to the game's own; the build generates them all.
constexpr std::string_view dataFolder = "Data/";

constexpr const char* logoPicture = "Data/Kuvat/Taustat/logo.jpg";
constexpr const char* menuPicture = "Data/Kuvat/Taustat/menu.jpg";
constexpr const char* playMenuPicture = "Data/Kuvat/Taustat/playmenu.jpg";
constexpr const char* levelBackgroundPictures[6] = {
    nullptr, // levels count from 1
    "Data/Kuvat/Taustat/runtausta1.jpg",
    "Data/Kuvat/Taustat/runtausta2.jpg",
    "Data/Kuvat/Taustat/runtausta3.jpg",
    "Data/Kuvat/Taustat/runtausta4.jpg",
    "Data/Kuvat/Taustat/runtausta5.jpg",
};
constexpr const char* gameOverPicture = "Data/Kuvat/Taustat/GO.jpg";
constexpr const char* helpPicture = "Data/Kuvat/Taustat/help.jpg";
constexpr const char* creditsPicture = "Data/Kuvat/Taustat/Credits.jpg";
constexpr const char* levelSelectPicture = "Data/Kuvat/Taustat/loadgame.jpg";
constexpr const char* boardPicture = "Data/Kuvat/Objektit/lauta.jpg";
constexpr const char* ballPicture = "Data/Kuvat/Objektit/Pallo.png";
constexpr const char* completionBoxPicture = "Data/Kuvat/Objektit/ihqbox.jpg";
constexpr const char* weightPictures[11] = {
    nullptr, // named by the weight they show, 1 to 10
    "Data/Kuvat/Objektit/1.jpg",
    "Data/Kuvat/Objektit/2.jpg",
    "Data/Kuvat/Objektit/3.jpg",
    "Data/Kuvat/Objektit/4.jpg",
    "Data/Kuvat/Objektit/5.jpg",
    "Data/Kuvat/Objektit/6.jpg",
    "Data/Kuvat/Objektit/7.jpg",
    "Data/Kuvat/Objektit/8.jpg",
    "Data/Kuvat/Objektit/9.jpg",
    "Data/Kuvat/Objektit/10.jpg",
};

constexpr const char* menuTrack = "Data/Musat/menumusa.it";
constexpr const char* levelTrack[6] = {
    nullptr, // levels count from 1
    "Data/Musat/Execute.it",
    "Data/Musat/NOONE.it",
    "Data/Musat/67.it",
    "Data/Musat/LAST.it",
    "Data/Musat/BLACKSMI.it",
};

// A path as it lies under the data folder.
constexpr std::string_view underDataFolder(std::string_view path) {
    return path.substr(dataFolder.size());
}

// The last part of a path: the file's own name.
constexpr std::string_view fileName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace layout
