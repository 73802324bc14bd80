// Gameplay: the blocks, the board, the balance counters and the level table; dealing a level;
// the per-frame rules; the level scene and its HUD; level completion.
#pragma once

#include <cstdint>

#include "layout/layout.h"
#include "screens/screens.h"

// ---- world.cpp -------------------------------------------------------------------------------

constexpr int BlockRecordCount = 31; // one more than the longest level

struct Block {
    float width = layout::blockWidth;
    float height = layout::blockHeight;
    float x = 380.0f; // in neither column until dealt
    float y = -50.0f;
    float speed = 2.0f;
    const unsigned int* texture = nullptr; // the weightTextures slot of its weight
    std::int32_t weight = 0;
    std::uint8_t landed = 0;
};

struct Board {
    float angle = 0.0f; // degrees; positive when the right side is heavier
    float x = layout::boardX;
    float y = layout::boardY;
};

extern Block blocks[BlockRecordCount];
extern Board board;

extern std::int32_t currentBlock;
extern std::int32_t blocksLeft;
extern std::int32_t allowedImbalance;
extern std::int32_t leftWeight;
extern std::int32_t rightWeight;
extern float stackTop;
extern float tiltStep;
extern std::int32_t countdown;

struct LevelParams {
    std::uint32_t playState;
    std::uint32_t completeState;
    std::int32_t blockCount;
    std::int32_t allowedImbalance;
    std::int32_t firstWeightSpan; // block 0 weighs 3 + (r mod span)
    const char* label;
};

constexpr LevelParams levelTable[5] = {
    {Level1Play, Level1Complete, 10, 9, 5, "Level 1"},
    {Level2Play, Level2Complete, 15, 8, 5, "Level 2"},
    {Level3Play, Level3Complete, 20, 7, 5, "Level 3"},
    {Level4Play, Level4Complete, 25, 6, 4, "Level 4"},
    {Level5Play, Credits, 30, 5, 3, "Level 5"},
};

constexpr const LevelParams& levelParams(int level) {
    return levelTable[level - 1];
}

// ---- deal.cpp --------------------------------------------------------------------------------

void dealLevel(int level);
void setupLevel1(); // the frame of Level1Setup: music, deal, then level 1's first play frame

// ---- level_scene.cpp -------------------------------------------------------------------------

void drawLevelScene(int level);
void drawPauseShade(); // the scene dimmed, with "Paused" over it
void drawBallQuad();   // at layout::ballQuad, under the board
void drawBoardQuad();  // at layout::boardQuad about the current origin, level

// ---- play_rules.cpp --------------------------------------------------------------------------

extern bool levelPaused; // P, Pause, Escape, a pad's Start, or the window losing the keyboard

void playLevelFrame(int level);
void applyPlayRules(int level);

// ---- level_completion.cpp --------------------------------------------------------------------

void levelCountdown(int level);
void completeLevel(int level);
