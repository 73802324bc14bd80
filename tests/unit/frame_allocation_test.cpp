#include <cstring>

#include "support/game_fixture.h"
#include "support/gl_driver_frames.h"
#include "support/new_counter.h"

// Counts the allocations the game makes through operator new while it runs frames, but for those
// of the GL driver (gl_driver_frames.h).
namespace {

class FrameAllocationTest : public ScriptedGameTest {
protected:
    void SetUp() override {
        ScriptedGameTest::SetUp();
        scripted::script().recordingCalls = false;
        scripted::script().loadedSongs.reserve(64); // the double's own bookkeeping of songs
    }
    // Runs frames as the main loop's runFrame() does, less the mute key and the song's replay,
    // and clearing only the click latch of the frame's input (the tests set and clear
    // KeyPressed themselves). Returns how many operator new calls they made, in any thread,
    // but for those of the GL driver.
    static long allocationsOver(int frames) {
        prepareGlDriverCheck();
        new_counter::start([] { return !calledFromGlDriver(); });
        for (int i = 0; i < frames; ++i) {
            updateFrameTimer();
            FrameDispatcher();
            clickLatch = false;
        }
        return new_counter::stop();
    }
};

TEST_F(FrameAllocationTest, PlayFramesAllocateNothing) {
    for (int level : {1, 5}) {
        dealSeeded(level);
        GameState = levelParams(level).playState;
        KeyState[VK_DOWN] = 1;
        KeyState[VK_LEFT] = level == 1 ? 0 : 1; // level 5 ends in game over: the fade too
        EXPECT_EQ(allocationsOver(300), 0) << "level " << level;
    }
}

TEST_F(FrameAllocationTest, MenuAndLevelSelectFramesAllocateNothing) {
    fadePending = false;
    for (std::uint32_t state : {MainMenu, PlayMenu, Help, GameOver, Credits}) {
        GameState = state;
        EXPECT_EQ(allocationsOver(50), 0) << "state " << state;
    }
    std::strcpy(Progress, "5");
    buildLargeFont();
    GameState = LevelSelect;
    EXPECT_EQ(allocationsOver(50), 0);
}

// The "Paused" text, the shade and the focus ring, with the ring shown.
TEST_F(FrameAllocationTest, PausedFramesWithTheFocusRingAllocateNothing) {
    for (int level : {2, 5}) {
        dealSeeded(level);
        GameState = levelParams(level).playState;
        levelPaused = true;
        forgetFocus();
        KeyPressed[VK_DOWN] = 1; // shows the ring, then leaves it be
        EXPECT_EQ(allocationsOver(1), 0) << "level " << level;
        KeyPressed[VK_DOWN] = 0;
        EXPECT_TRUE(focusShown);
        EXPECT_EQ(allocationsOver(50), 0) << "level " << level;
    }
}

} // namespace
