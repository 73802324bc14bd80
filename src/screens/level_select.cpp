#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"

namespace {

bool levelUnlocked(int level) {
    return unlockedLevel() >= level;
}

// The unlocked levels from the top, then the back button; the focus starts on the highest level.
FocusButtons levelSelectButtons() {
    FocusButtons buttons;
    for (int level = 1; level <= 5; ++level) {
        if (levelUnlocked(level)) {
            // The ring goes round the label's slot, clear of its text, as round a button.
            buttons.ringAround[buttons.count] = layout::levelLabelSlot(level);
            buttons.button[buttons.count++] = layout::levelLabelRect(level);
        }
    }
    buttons.first = buttons.count > 0 ? buttons.count - 1 : 0;
    buttons.button[buttons.count++] = layout::levelSelectBack;
    return buttons;
}

} // namespace

void drawLevelSelect() {
    drawPicture(levelSelectTexture);
    for (int level = 1; level <= 5; ++level) {
        if (!levelUnlocked(level)) {
            continue;
        }
        glColor3f(1.0f, 1.0f, 1.0f);
        placeTextPen(layout::levelLabelX, layout::levelLabelBaseline(level));
        drawText("%s", levelParams(level).label);
    }
}

void levelSelectFrame() {
    const FocusButtons buttons = levelSelectButtons();
    if (takeMenuKeys(LevelSelect, buttons)) {
        // Escape is the back button, taken by the same road.
        pressButton(layout::levelSelectBack);
    }
    drawLevelSelect();
    drawFocusRing(buttons);
    platform::swapBuffers();
    if (clickedIn(layout::levelSelectBack)) {
        GameState = PlayMenu;
        buildSmallFont();
        Crossfade(levelSelectTexture, playMenuTexture);
    }
    if (levelUnlocked(1) && clickedIn(layout::levelLabelRect(1))) {
        GameState = Level1Setup;
        buildSmallFont();
        // Level 1 is dealt, with its music, by its setup frame.
        Crossfade(levelSelectTexture, levelBackground[1]);
    }
    for (int level = 2; level <= 5; ++level) {
        if (levelUnlocked(level) && clickedIn(layout::levelLabelRect(level))) {
            GameState = levelParams(level).playState;
            changeMusic(levelTrack[level]);
            dealLevel(level);
            buildSmallFont();
            Crossfade(levelSelectTexture, levelBackground[level]);
        }
    }
}
