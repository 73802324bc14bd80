#include <GL/gl.h>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"

float fadeIn = 0.0f;
float fadeOut = 1.0f;
std::uint32_t fadesRun = 0;

namespace {

// One pass's step: 0.02 per frame of 1/30 s, so a fade lasts about 1.7 s at any frame rate; the
// whole time since the last pass, so that after a stall the fade ends in one pass.
// Each sum is formed in double and stored as a float, which makes a fade at exactly one frame
// per pass take 51 passes, not 50.
void advanceFade() {
    const float step = static_cast<float>(static_cast<double>(frameTimer.elapsedFrames) * FadeStep);
    fadeOut = static_cast<float>(static_cast<double>(fadeOut) - step);
    fadeIn = static_cast<float>(static_cast<double>(fadeIn) + step);
}

void drawFadingPicture(unsigned int texture, float alpha) {
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, texture);
    FullscreenQuad();
}

void endLayer() {
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// One fade: passes until the incoming layers are opaque, each pass timed, cleared, drawn by
// `drawLayers` and shown. It ends early once the game is being ended by a signal, which must not
// wait for it.
template <typename DrawLayers> void runFade(DrawLayers drawLayers) {
    fadeOut = 1.0f;
    fadeIn = 0.0f;
    ++fadesRun;
    do {
        updateFrameTimer();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        drawLayers();
        advanceFade();
        platform::swapBuffers();
    } while (fadeIn < 1.0f && !platform::terminationRequested());
}

} // namespace

void Crossfade(unsigned int outgoing, unsigned int incoming) {
    runFade([outgoing, incoming] {
        // Incoming first, outgoing over it, both added onto black under the blend function that
        // is in force (source alpha, one): the picture moves linearly from one to the other.
        drawFadingPicture(incoming, fadeIn);
        endLayer();
        drawFadingPicture(outgoing, fadeOut);
        endLayer();
    });
}

void LevelCrossfade(unsigned int outgoing, int level) {
    runFade([outgoing, level] {
        drawFadingPicture(levelBackground[level], fadeIn);
        // The ball at full strength, by its own alpha.
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawBallQuad();
        endLayer();
        drawFadingPicture(outgoing, fadeOut);
        // The board fades in level on top; the level's first frame tilts it if need be.
        glColor4f(1.0f, 1.0f, 1.0f, fadeIn);
        glTranslatef(board.x, board.y, 0.0f);
        drawBoardQuad();
        endLayer();
    });
}
