#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"

namespace {

constexpr ClickRect levelSelectBack = {20, 700, 170, 745};

// Each label's raster position is the left end of its baseline; its rectangle covers the 25
// pixels above that baseline.
constexpr float labelX = 410.0f;
constexpr float labelBaseline(int level) {
    return 350.0f + 60.0f * static_cast<float>(level - 1);
}
constexpr ClickRect labelRect(int level) {
    return {410, static_cast<int>(labelBaseline(level)) - 25, 560,
            static_cast<int>(labelBaseline(level))};
}

bool levelUnlocked(int level) {
    return unlockedLevel() >= level;
}

} // namespace

void drawLevelSelect() {
    drawPicture(levelSelectTexture);
    for (int level = 1; level <= 5; ++level) {
        if (!levelUnlocked(level)) {
            continue;
        }
        // Set before the raster position, so the raster colour is white.
        glColor3f(1.0f, 1.0f, 1.0f);
        glRasterPos2f(labelX, labelBaseline(level));
        drawText("%s", levelParams(level).label);
    }
}

void levelSelectFrame() {
    drawLevelSelect();
    platform::swapBuffers();
    if (clickedIn(levelSelectBack)) {
        GameState = PlayMenu;
        buildSmallFont();
        Crossfade(levelSelectTexture, playMenuTexture);
    }
    if (levelUnlocked(1) && clickedIn(labelRect(1))) {
        GameState = Level1Setup;
        buildSmallFont();
        // Level 1 is dealt, with its music, by its setup frame.
        Crossfade(levelSelectTexture, levelBackground[1]);
    }
    for (int level = 2; level <= 5; ++level) {
        if (levelUnlocked(level) && clickedIn(labelRect(level))) {
            GameState = levelParams(level).playState;
            changeMusic(levelTrack[level]);
            dealLevel(level);
            buildSmallFont();
            Crossfade(levelSelectTexture, levelBackground[level]);
        }
    }
}
