#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

namespace {

constexpr int CountdownStepMilliseconds = 1000;

void drawCompletionBox() {
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, boxTexture);
    drawTexturedQuad(layout::completionBoxQuad, HiddenPictureRows);
    // The text takes the current colour alone: its glyphs are white ink.
    placeTextPen(layout::completionText.x, layout::completionText.baseline);
    drawText("Completed! Next level begins... Ready? %d", countdown);
}

void drawCountdownFrame(int level) {
    drawLevelScene(level);
    drawCompletionBox();
    platform::swapBuffers();
}

} // namespace

// The level is won once its last block has landed: the unlock reaches the disk before the
// countdown, so that closing the game during it keeps the level. completeLevel's own record then
// finds the level unlocked and writes nothing.
void levelCountdown(int level) {
    recordProgress(level + 1);
    drawCountdownFrame(level);
    do {
        platform::sleepMilliseconds(CountdownStepMilliseconds);
        countdown -= 1;
        drawCountdownFrame(level);
    } while (countdown > 0);
}

void completeLevel(int level) {
    const int next = level + 1;
    GameState = levelParams(next).playState;
    recordProgress(next);
    changeMusic(levelTrack[next]);
    LevelCrossfade(levelBackground[level], next);
    dealLevel(next);
    playLevelFrame(next);
}
