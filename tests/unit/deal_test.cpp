#include <cstdlib>
#include <vector>

#include "support/columns.h"
#include "support/game_fixture.h"

namespace {

using DealTest = ScriptedGameTest;

TEST_F(DealTest, FirstBlockWeightsFollowTheLevelAndTheRestSpanOneToTen) {
    const int firstMax[] = {7, 7, 7, 6, 5};
    for (int level = 1; level <= 5; ++level) {
        std::vector<bool> firstSeen(11, false);
        std::vector<bool> otherSeen(11, false);
        for (unsigned int seed = 1; seed <= 300; ++seed) {
            dealSeeded(level, seed);
            ASSERT_GE(blocks[0].weight, 3);
            ASSERT_LE(blocks[0].weight, firstMax[level - 1]) << "level " << level;
            firstSeen[blocks[0].weight] = true;
            for (int i = 1; i < levelParams(level).blockCount; ++i) {
                ASSERT_GE(blocks[i].weight, 1);
                ASSERT_LE(blocks[i].weight, 10);
                otherSeen[blocks[i].weight] = true;
            }
        }
        for (int w = 3; w <= firstMax[level - 1]; ++w) {
            EXPECT_TRUE(firstSeen[w]) << "level " << level << " weight " << w;
        }
        for (int w = 1; w <= 10; ++w) {
            EXPECT_TRUE(otherSeen[w]) << "level " << level << " weight " << w;
        }
    }
}

TEST_F(DealTest, TwoDrawsPerBlockWeightFirstThenColumn) {
    for (int level = 1; level <= 5; ++level) {
        std::srand(99);
        std::vector<int> draws;
        for (int i = 0; i < 2 * levelParams(level).blockCount + 1; ++i) {
            draws.push_back(std::rand());
        }
        std::srand(99);
        dealLevel(level);
        const int next = std::rand();
        for (int i = 0; i < levelParams(level).blockCount; ++i) {
            const int weightDraw = draws[2 * i];
            const int expectedWeight =
                i == 0 ? 3 + weightDraw % levelParams(level).firstWeightSpan : 1 + weightDraw % 10;
            EXPECT_EQ(blocks[i].weight, expectedWeight);
            EXPECT_EQ(blocks[i].x, draws[2 * i + 1] % 2 == 0 ? LeftColumnX : RightColumnX);
        }
        EXPECT_EQ(next, draws.back()) << "level " << level << " drew more or less than two a block";
    }
}

TEST_F(DealTest, EveryBlockShowsItsOwnWeightAndWaitsAboveTheScreen) {
    for (int w = 1; w <= 10; ++w) {
        weightTextures[w] = 100u + static_cast<unsigned int>(w);
    }
    dealSeeded(5, 1234);
    for (int i = 0; i < 30; ++i) {
        ASSERT_NE(blocks[i].texture, nullptr);
        EXPECT_EQ(*blocks[i].texture, 100u + static_cast<unsigned int>(blocks[i].weight));
        EXPECT_EQ(blocks[i].y, -100.0f);
        EXPECT_EQ(blocks[i].speed, 4.0f);
        EXPECT_EQ(blocks[i].landed, 0);
        EXPECT_EQ(blocks[i].width, 25.0f);
        EXPECT_EQ(blocks[i].height, 40.0f);
    }
}

TEST_F(DealTest, RecordsPastTheLevelsCountAreLeftAsTheyWere) {
    dealSeeded(3);
    for (int i = 10; i < 20; ++i) {
        blocks[i].landed = 1;
        blocks[i].y = 500.0f + static_cast<float>(i);
    }
    dealSeeded(1);
    for (int i = 10; i < 20; ++i) {
        EXPECT_EQ(blocks[i].landed, 1);
        EXPECT_EQ(blocks[i].y, 500.0f + static_cast<float>(i));
    }
    EXPECT_EQ(blocks[30].x, 380.0f); // never dealt by any level
}

TEST_F(DealTest, ADealResetsTheBoardAndCounters) {
    dealSeeded(2);
    board.angle = -7.0f;
    leftWeight = 12;
    rightWeight = 5;
    stackTop = 300.0f;
    countdown = 0;
    currentBlock = 9;
    dealSeeded(4);
    EXPECT_EQ(board.angle, 0.0f);
    EXPECT_EQ(leftWeight, 0);
    EXPECT_EQ(rightWeight, 0);
    EXPECT_EQ(stackTop, 768.0f);
    EXPECT_EQ(countdown, 5);
    EXPECT_EQ(currentBlock, 0);
    EXPECT_EQ(blocksLeft, 25);
    EXPECT_EQ(allowedImbalance, 6);
    EXPECT_EQ(board.x, 395.0f);
    EXPECT_EQ(board.y, 695.0f);
}

} // namespace
