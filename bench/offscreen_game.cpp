#include "offscreen_game.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/frame_pacing.h"
#include "screens/screens.h"
#include "shell/shell.h"

namespace bench {

namespace {

// The largest difference a player who always steers to the lighter side can ever reach: one
// block of weight 10 on a balanced board.
constexpr int SteeredLimit = 10;

} // namespace

bool openOffscreenGame() {
    if (chdir(TOLVAR_BENCH_GAME_DIR) != 0) {
        std::fprintf(stderr, "cannot enter the game's folder %s\n", TOLVAR_BENCH_GAME_DIR);
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // Frames back to back: what a frame costs, not how often the display wants one.
    frame_pacing::setEnabled(false);
    // The view measured: 1024x768, or what TOLVAR_BENCH_VIEW asks for as WIDTHxHEIGHT.
    int width = 1024;
    int height = 768;
    if (const char* view = std::getenv("TOLVAR_BENCH_VIEW")) {
        std::sscanf(view, "%dx%d", &width, &height);
    }
    // Windowed: the offscreen driver has no full-screen mode to switch to.
    if (openWindow("Tolvar", width, height, 32, false) != 1) {
        std::fprintf(stderr, "cannot open the game's window offscreen\n");
        return false;
    }
    // The size message of showWindow, as the main loop would handle it.
    platform::Message message;
    while (platform::peekMessage(message)) {
        windowProc(message);
    }
    startImageLibrary();
    loadTextures();
    finishImageLibrary();
    startFrameTimer(30.0f);
    return true;
}

void closeOffscreenGame() {
    closeWindow();
}

const char* rendererName() {
    const GLubyte* name = glGetString(GL_RENDERER);
    return name != nullptr ? reinterpret_cast<const char*>(name) : "unknown";
}

void prepareLevelInPlay(int level) {
    std::srand(2024);
    dealLevel(level);
    allowedImbalance = SteeredLimit;
    GameState = levelParams(level).playState;
    frameTimer.speedFactor = 1.0f;
    KeyState[VK_DOWN] = 1;
}

void steerToLighterSide() {
    const bool leftLighter = leftWeight <= rightWeight;
    KeyState[VK_LEFT] = leftLighter ? 1 : 0;
    KeyState[VK_RIGHT] = leftLighter ? 0 : 1;
}

bool levelRunOut(int level) {
    return blocksLeft == 0 || GameState != levelParams(level).playState;
}

void drawTexturedQuadFrame() {
    drawPicture(levelBackground[1]);
    SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
}

} // namespace bench
