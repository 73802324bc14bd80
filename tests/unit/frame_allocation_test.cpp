#include <dlfcn.h>
#include <execinfo.h>

#include <cstring>

#include "support/game_fixture.h"
#include "support/new_counter.h"

// Counts the allocations the game makes through operator new while it runs frames.
//
// Mesa's software renderer compiles shader variants the first time it meets a new combination of
// state, and its compiler (and LLVM's JIT) allocate through operator new. Those allocations are
// the driver's cache, not the game's: an allocation with a GL driver frame on its stack is not
// counted.
namespace {
bool isGlDriverLibrary(const char* path) {
    for (const char* name : {"_dri.so", "libLLVM", "libgallium", "libGLX", "libEGL", "libglapi"}) {
        if (std::strstr(path, name) != nullptr) {
            return true;
        }
    }
    return false;
}

bool calledFromGlDriver() {
    void* frames[64];
    const int depth = backtrace(frames, 64);
    for (int i = 0; i < depth; ++i) {
        Dl_info library;
        if (dladdr(frames[i], &library) != 0 && library.dli_fname != nullptr &&
            isGlDriverLibrary(library.dli_fname)) {
            return true;
        }
    }
    return false;
}

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
        void* warmUp[1];
        backtrace(warmUp, 1); // its first call loads the unwinder, which allocates
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
