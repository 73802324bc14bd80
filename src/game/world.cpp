#include "game/game.h"

Block blocks[BlockRecordCount];
Board board;

std::int32_t currentBlock = 0;
std::int32_t blocksLeft = 0;
std::int32_t allowedImbalance = 0;
std::int32_t leftWeight = 0;
std::int32_t rightWeight = 0;
float stackTop = static_cast<float>(layout::screenHeight);
float tiltStep = 0.0f;
std::int32_t countdown = 5;
