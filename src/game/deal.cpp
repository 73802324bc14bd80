#include <cstdlib>

#include "assets/assets.h"
#include "game/game.h"

void dealLevel(int level) {
    const LevelParams& params = levelParams(level);
    // Two draws per block, weight first, in index order: a seed gives the same level every time.
    for (int i = 0; i < params.blockCount; ++i) {
        Block& block = blocks[i];
        const int weightDraw = std::rand();
        block.weight = i == 0 ? 3 + weightDraw % params.firstWeightSpan : 1 + weightDraw % 10;
        block.y = -100.0f;
        block.texture = &weightTextures[block.weight];
        block.landed = 0;
        block.x = std::rand() % 2 == 0 ? layout::leftColumnX : layout::rightColumnX;
        block.speed = 4.0f;
    }
    // Records past the level's count keep whatever they hold; no scan of this level visits them.
    stackTop = static_cast<float>(layout::screenHeight); // the bottom of the screen
    allowedImbalance = params.allowedImbalance;
    blocksLeft = params.blockCount;
    board.angle = 0.0f;
    leftWeight = 0;
    rightWeight = 0;
    tiltStep = 0.0f;
    currentBlock = 0;
    countdown = 5;
    levelPaused = false; // a fresh deal is played at once
}

void setupLevel1() {
    GameState = Level1Play;
    changeMusic(levelTrack[1]);
    dealLevel(1);
    playLevelFrame(1);
}
