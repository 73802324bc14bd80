// A paused level in virtual time: the block, the board and the counters stand still however
// long the pause, focus loss and minimizing pause too, and the in-level buttons take keys.
#include "support/game_fixture.h"

namespace {

using scripted::script;

class PauseTest : public ScriptedGameTest {
protected:
    void SetUp() override {
        ScriptedGameTest::SetUp();
        GameState = Level2Play;
        dealSeeded(2);
        forgetFocus();
    }
    struct Snapshot {
        float y;
        float x;
        float angle;
        int block;
        int left;
        bool operator==(const Snapshot&) const = default;
    };
    static Snapshot snapshot() {
        const Block& block = blocks[currentBlock];
        return {block.y, block.x, board.angle, currentBlock, blocksLeft};
    }
};

TEST_F(PauseTest, EveryPauseKeyStopsTheLevelAndAPauseKeyOrEnterGoesOnFromWhereItStood) {
    for (const int pauseKey : {VK_P, VK_PAUSE, VK_ESCAPE}) {
        frame();
        keyFrame(pauseKey);
        ASSERT_TRUE(levelPaused) << pauseKey;
        const Snapshot stopped = snapshot();
        for (int i = 0; i < 90; ++i) {
            windowProc({platform::MessageKind::KeyDown, VK_LEFT}); // held: steers nothing
            windowProc({platform::MessageKind::KeyDown, VK_DOWN});
            frame();
        }
        windowProc({platform::MessageKind::KeyUp, VK_LEFT});
        windowProc({platform::MessageKind::KeyUp, VK_DOWN});
        EXPECT_EQ(snapshot(), stopped) << pauseKey;
        EXPECT_EQ(blocks[currentBlock].speed, 4.0f);
        keyFrame(pauseKey);
        EXPECT_FALSE(levelPaused);
        // One frame's fall, not three seconds' worth.
        EXPECT_NEAR(blocks[currentBlock].y - stopped.y, 4.0f, 0.01f) << pauseKey;
    }
    // With no ring shown, Enter and Space (a pad's A) go on as the pause keys do.
    for (const int goOnKey : {VK_RETURN, VK_SPACE}) {
        keyFrame(VK_P);
        keyFrame(goOnKey);
        EXPECT_FALSE(levelPaused) << goOnKey;
        EXPECT_EQ(GameState, Level2Play) << goOnKey;
    }
}

TEST_F(PauseTest, LosingFocusOrMinimizingPausesUntilThePlayerResumes) {
    frame();
    windowProc({platform::MessageKind::FocusLost});
    frame();
    EXPECT_TRUE(levelPaused);
    const Snapshot stopped = snapshot();
    frame();
    frame();
    EXPECT_EQ(snapshot(), stopped);
    keyFrame(VK_P);
    EXPECT_FALSE(levelPaused);

    // Minimized: no frame runs while the clock goes on for a minute.
    const Snapshot beforeMinimize = snapshot();
    windowProc({platform::MessageKind::Activate, 1});
    script().counter += 60 * script().frequency;
    windowProc({platform::MessageKind::Activate, 0});
    frame();
    EXPECT_TRUE(levelPaused);
    EXPECT_EQ(snapshot(), beforeMinimize);
    keyFrame(VK_ESCAPE);
    EXPECT_FALSE(levelPaused);
    EXPECT_NEAR(blocks[currentBlock].y - beforeMinimize.y, 4.0f, 0.01f);
}

TEST_F(PauseTest, ThePausedLevelsButtonsTakeKeysInReadingOrderOnlyWhileTheRingShowsThem) {
    keyFrame(VK_P);
    keyFrame(VK_DOWN);   // shows the ring on the top one
    keyFrame(VK_RETURN); // start over
    EXPECT_EQ(GameState, Level1Setup);

    GameState = Level2Play;
    dealSeeded(2);
    keyFrame(VK_P);
    keyFrame(VK_DOWN);
    keyFrame(VK_DOWN);
    keyFrame(VK_RETURN); // level select, the middle one
    EXPECT_EQ(GameState, LevelSelect);
    EXPECT_EQ(fontSize, FontSize::Large);
    buildSmallFont();

    GameState = Level2Play;
    dealSeeded(2);
    keyFrame(VK_P);
    keyFrame(VK_UP);
    keyFrame(VK_UP); // wraps round to the bottom one
    keyFrame(VK_SPACE);
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_EQ(lastMusicLoad(), menuTrack);

    // Unpaused, Enter does nothing in a level.
    GameState = Level2Play;
    dealSeeded(2);
    keyFrame(VK_RETURN);
    EXPECT_EQ(GameState, Level2Play);
    EXPECT_FALSE(levelPaused);
}

} // namespace
