#include <cstring>

#include "support/columns.h"
#include "support/game_fixture.h"

namespace {

using PlayRulesTest = ScriptedGameTest;

TEST_F(PlayRulesTest, ALeftBlockOnALevelBoardLandsOnceBelow645AndSteersUntilThen) {
    dealSeeded(1);
    Block& block = currentAt(LeftColumnX, 3, -100.0f);
    int frame = 0;
    while (currentBlock == 0 && frame < 400) {
        ++frame;
        // Steering works on every frame before the landing: over and back again.
        hold(VK_LEFT, frame % 2 == 1);
        hold(VK_RIGHT, frame % 2 == 0);
        const float before = block.y;
        applyPlayRules(1);
        if (currentBlock == 0) {
            EXPECT_LE(block.y, 645.0f) << "frame " << frame;
            EXPECT_EQ(block.x, frame % 2 == 1 ? LeftColumnX : RightColumnX) << "frame " << frame;
            EXPECT_FLOAT_EQ(block.y - before, 4.0f);
        }
    }
    // Frame 187 held Left: the block came down in the left column at 648, the first y past 645,
    // and its own landing then moved it down by 3 x its weight.
    EXPECT_EQ(frame, 187);
    EXPECT_EQ(block.x, LeftColumnX);
    EXPECT_EQ(block.landed, 1);
    EXPECT_FLOAT_EQ(block.y, 648.0f + 9.0f);
    EXPECT_EQ(leftWeight, 3);
}

TEST_F(PlayRulesTest, WithTheBoardAtFiveDegreesTheLandingLinesAre680And710) {
    // The right side 5 heavier: the board stands at 5 degrees, and every frame sets it again from
    // the weights. Left: lands when the top passes 630; right: when it passes 660.
    dealSeeded(1);
    rightWeight = 5;
    board.angle = 5.0f;
    currentAt(LeftColumnX, 1, 626.0f);
    applyPlayRules(1); // 630: not yet
    EXPECT_EQ(currentBlock, 0);
    applyPlayRules(1); // 634
    EXPECT_EQ(currentBlock, 1);

    leftWeight = 0;
    board.angle = 5.0f;
    currentAt(RightColumnX, 1, 656.0f);
    applyPlayRules(1); // 660: not yet
    EXPECT_EQ(currentBlock, 1);
    applyPlayRules(1); // 664
    EXPECT_EQ(currentBlock, 2);
}

// Both arrows held end in the right column; an arrow tapped and let go before the frame looks
// (shorter than a frame) steers too.
TEST_F(PlayRulesTest, BothArrowsHeldEndInTheRightColumnAndATapBetweenFramesSteers) {
    dealSeeded(1);
    Block& block = currentAt(LeftColumnX, 2, 0.0f);
    hold(VK_LEFT, true);
    hold(VK_RIGHT, true);
    applyPlayRules(1);
    EXPECT_EQ(block.x, RightColumnX);
    hold(VK_LEFT, false);
    hold(VK_RIGHT, false);
    key(VK_LEFT);
    applyPlayRules(1);
    EXPECT_EQ(block.x, LeftColumnX);
}

TEST_F(PlayRulesTest, AHurriedBlockKeepsItsSpeedAndTheNextStartsAtFour) {
    dealSeeded(1);
    Block& first = currentAt(LeftColumnX, 2, 0.0f);
    hold(VK_DOWN, true);
    applyPlayRules(1); // the fall comes before the hurry: 4 this frame, 12 from the next
    EXPECT_EQ(first.speed, 12.0f);
    EXPECT_FLOAT_EQ(first.y, 4.0f);
    hold(VK_DOWN, false);
    applyPlayRules(1);
    EXPECT_EQ(first.speed, 12.0f);
    EXPECT_FLOAT_EQ(first.y, 16.0f);
    ASSERT_GT(fallUntilLanded(1), 0);
    EXPECT_EQ(blocks[1].speed, 4.0f);
}

TEST_F(PlayRulesTest, TheLimitItselfIsAllowedAndOneMoreEndsTheGame) {
    dealSeeded(1);
    GameState = Level1Play;
    currentAt(LeftColumnX, 9, 600.0f);
    ASSERT_GT(fallUntilLanded(1), 0);
    EXPECT_EQ(board.angle, -9.0f);
    EXPECT_EQ(GameState, Level1Play);

    currentAt(LeftColumnX, 1, 500.0f);
    ASSERT_GT(fallUntilLanded(1), 0);
    EXPECT_EQ(leftWeight, 10);
    EXPECT_EQ(GameState, GameOver);
    EXPECT_EQ(board.angle, -9.0f);
    EXPECT_EQ(lastMusicLoad(), menuTrack);
    EXPECT_EQ(scripted::script().presentedFrames, 51); // the fade into the game-over picture
}

TEST_F(PlayRulesTest, ALandingMovesItsColumnDownAndTheOtherUpByThreePerUnit) {
    dealSeeded(2);
    // Two landed blocks on the left, one on the right, as if played before.
    blocks[0] = {25.0f, 40.0f, LeftColumnX, 640.0f, 4.0f, &weightTextures[2], 2, 1};
    blocks[1] = {25.0f, 40.0f, RightColumnX, 650.0f, 4.0f, &weightTextures[3], 3, 1};
    blocks[2] = {25.0f, 40.0f, LeftColumnX, 600.0f, 4.0f, &weightTextures[1], 1, 1};
    leftWeight = 3;
    rightWeight = 3;
    currentBlock = 3;
    blocksLeft = 12;
    Block& falling = currentAt(LeftColumnX, 4, 560.0f);
    applyPlayRules(2); // 564: its bottom, 604, is below the top of block 2
    ASSERT_EQ(currentBlock, 4);
    EXPECT_FLOAT_EQ(blocks[0].y, 652.0f);
    EXPECT_FLOAT_EQ(blocks[2].y, 612.0f);
    EXPECT_FLOAT_EQ(falling.y, 576.0f);
    EXPECT_FLOAT_EQ(blocks[1].y, 638.0f);
    EXPECT_EQ(board.angle, -4.0f);
    EXPECT_EQ(tiltStep, 12.0f);
}

TEST_F(PlayRulesTest, ABlockBesideATallStackCannotBeSteeredOnceItsBottomReachesThatTop) {
    dealSeeded(3);
    blocks[0] = {25.0f, 40.0f, LeftColumnX, 400.0f, 4.0f, &weightTextures[1], 1, 1};
    leftWeight = 1;
    currentBlock = 1;
    Block& falling = currentAt(RightColumnX, 1, 352.0f);
    hold(VK_LEFT, true);
    applyPlayRules(3); // 356 + 40 < 400: still steerable, goes left
    EXPECT_EQ(falling.x, LeftColumnX);
    hold(VK_LEFT, false);
    hold(VK_RIGHT, true);
    applyPlayRules(3); // 360 + 40 is not above 400 any more
    EXPECT_EQ(falling.x, LeftColumnX);
    EXPECT_EQ(stackTop, 400.0f);
}

TEST_F(PlayRulesTest, TheLastLandingThatBreaksTheBalanceIsGameOverNotCompletion) {
    dealSeeded(1);
    GameState = Level1Play;
    currentBlock = 9;
    blocksLeft = 1;
    leftWeight = 5;
    currentAt(LeftColumnX, 5, 642.0f);
    applyPlayRules(1);
    EXPECT_EQ(GameState, GameOver);
    EXPECT_EQ(blocksLeft, 0);
    EXPECT_EQ(scripted::script().sleptMilliseconds, 0); // no countdown ran
}

TEST_F(PlayRulesTest, AMainMenuClickInTheFrameOfAnUnbalancedLandingEndsInGameOver) {
    dealSeeded(1);
    GameState = Level1Play;
    leftWeight = 9;
    currentAt(LeftColumnX, 1, 644.0f);
    clickLatch = true;
    clickPos = {900, 610};
    playLevelFrame(1);
    EXPECT_EQ(GameState, GameOver);
    // The scene, the fade to the menu, then the fade to the game-over picture.
    EXPECT_EQ(scripted::script().presentedFrames, 1 + 51 + 51);
    EXPECT_EQ(scripted::countCalls("loadSong Data/Musat/menumusa.it"), 2);
}

TEST_F(PlayRulesTest, ALevelSelectClickInTheFrameOfAGameOverOrALastLandingLeavesTheSmallFont) {
    // Game over: the click builds the large font, the landing ends the game.
    dealSeeded(1);
    GameState = Level1Play;
    leftWeight = 9;
    currentAt(LeftColumnX, 1, 644.0f);
    clickLatch = true;
    clickPos = {900, 577};
    playLevelFrame(1);
    EXPECT_EQ(GameState, GameOver);
    EXPECT_EQ(fontSize, FontSize::Small);
    EXPECT_EQ(fontPixelHeight, SmallFontHeight);

    // The last block of level 2 down: the countdown is drawn, and level 3 played, in the small one.
    dealSeeded(2);
    GameState = Level2Play;
    blocksLeft = 0;
    clickLatch = true;
    clickPos = {900, 560};
    playLevelFrame(2);
    EXPECT_EQ(GameState, Level2Complete);
    EXPECT_EQ(fontSize, FontSize::Small);
}

struct Snapshot {
    Block blocks[BlockRecordCount];
    Board board;
    std::int32_t leftWeight, rightWeight, currentBlock, blocksLeft;
};

Snapshot snapshot() {
    Snapshot s;
    std::memcpy(s.blocks, blocks, sizeof blocks);
    s.board = board;
    s.leftWeight = leftWeight;
    s.rightWeight = rightWeight;
    s.currentBlock = currentBlock;
    s.blocksLeft = blocksLeft;
    return s;
}

void expectSame(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(std::memcmp(a.blocks, b.blocks, sizeof a.blocks), 0);
    EXPECT_EQ(a.board.angle, b.board.angle);
    EXPECT_EQ(a.leftWeight, b.leftWeight);
    EXPECT_EQ(a.rightWeight, b.rightWeight);
    EXPECT_EQ(a.currentBlock, b.currentBlock);
    EXPECT_EQ(a.blocksLeft, b.blocksLeft);
}

// After the last landing the record that follows the level's blocks may hold a landed block of an
// earlier, longer level; in level 5 it is the last record of all. Neither may change anything.
TEST_F(PlayRulesTest, TheRecordAfterTheLastBlockChangesNothingInAnyLevel) {
    for (int level = 1; level <= 5; ++level) {
        dealSeeded(level);
        const int count = levelParams(level).blockCount;
        for (int i = 0; i < BlockRecordCount; ++i) {
            if (i >= count) {
                blocks[i] = {25.0f, 40.0f, LeftColumnX, 700.0f, 4.0f, &weightTextures[10], 10, 1};
            }
        }
        currentBlock = count;
        blocksLeft = 0;
        hold(VK_LEFT, true);
        hold(VK_DOWN, true);
        const Snapshot before = snapshot();
        GameState = levelParams(level).playState;
        applyPlayRules(level);
        expectSame(before, snapshot());
        EXPECT_EQ(GameState, levelParams(level).completeState) << "level " << level;
    }
}

TEST_F(PlayRulesTest, CompletionIsFoundTheFrameAfterTheLastLandingAndLevelFiveGoesToCredits) {
    dealSeeded(5);
    GameState = Level5Play;
    currentBlock = 29;
    blocksLeft = 1;
    currentAt(RightColumnX, 1, 642.0f);
    applyPlayRules(5);
    EXPECT_EQ(GameState, Level5Play);
    EXPECT_EQ(blocksLeft, 0);
    applyPlayRules(5);
    EXPECT_EQ(GameState, Credits);
    EXPECT_EQ(scripted::script().sleptMilliseconds, 0);
    EXPECT_EQ(scripted::countCalls("loadSong"), 0);
}

TEST_F(PlayRulesTest, TheInLevelButtonsOfEachLevel) {
    struct Case {
        int level;
        int y;
        std::uint32_t state;
    };
    const Case cases[] = {{1, 610, MainMenu}, {1, 545, Level1Setup}, {1, 577, LevelSelect},
                          {3, 566, MainMenu}, {3, 524, Level1Setup}, {5, 594, LevelSelect}};
    for (const Case& c : cases) {
        dealSeeded(c.level);
        GameState = levelParams(c.level).playState;
        clickLatch = true;
        clickPos = {891, c.y};
        playLevelFrame(c.level);
        EXPECT_EQ(GameState, c.state) << "level " << c.level << " y " << c.y;
    }
    // Just outside: x 890 and 945, and between two buttons.
    for (const ClickPoint miss :
         {ClickPoint{890, 610}, ClickPoint{945, 610}, ClickPoint{900, 560}}) {
        dealSeeded(1);
        GameState = Level1Play;
        clickLatch = true;
        clickPos = miss;
        playLevelFrame(1);
        EXPECT_EQ(GameState, Level1Play) << miss.x << "," << miss.y;
    }
}

TEST_F(PlayRulesTest, StartingLevelOneOverFromLevelOneRestartsItsTrackWithoutAFade) {
    dealSeeded(1);
    GameState = Level1Play;
    clickLatch = true;
    clickPos = {900, 540};
    playLevelFrame(1);
    EXPECT_EQ(GameState, Level1Setup);
    EXPECT_EQ(scripted::script().presentedFrames, 1);
    EXPECT_EQ(lastMusicLoad(), levelTrack[1]);
}

TEST_F(PlayRulesTest, TheLevelSelectButtonPlaysTheMenuTrackAndFades) {
    dealSeeded(4);
    GameState = Level4Play;
    clickLatch = true;
    clickPos = {920, 540};
    playLevelFrame(4);
    EXPECT_EQ(GameState, LevelSelect);
    EXPECT_EQ(lastMusicLoad(), menuTrack);
    EXPECT_EQ(scripted::script().presentedFrames, 1 + 51);
}

} // namespace
