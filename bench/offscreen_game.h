// The game brought up as start-up brings it up, on SDL's offscreen video driver over Mesa's
// software renderer (llvmpipe), for the benchmarks that measure it inside one process.
#pragma once

namespace bench {

// Changes to the game's folder, opens the game's window and context offscreen, loads the
// textures and starts the frame timer. False, with a line on standard error, when it cannot.
bool openOffscreenGame();
void closeOffscreenGame();

const char* rendererName(); // GL_RENDERER of the context

// A level in play for measuring: dealt from a fixed seed, every block hurried, and the limit set
// so that the steering below never ends the game. Called again whenever the level has run out.
void prepareLevelInPlay(int level);
// What a careful player does: steer the falling block over the lighter side. Together with the
// limit of prepareLevelInPlay no landing ever ends the game, so every frame stays in play.
void steerToLighterSide();
// True when the next frame would leave play (every block down), so the level is dealt again.
bool levelRunOut(int level);

// One frame of the floor: clear, one full-screen textured quad, present.
void drawTexturedQuadFrame();

} // namespace bench
