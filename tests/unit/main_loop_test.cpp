#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

using scripted::script;

struct SeenFrame {
    bool clickLatch;
    ClickPoint clickPos;
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A screen that presents once a frame and has no rule for a click where these land.
        GameState = MainMenu;
        fadePending = false;
        script().onPresent = [this](int) { seenFrames.push_back({clickLatch, clickPos}); };
    }
    std::vector<SeenFrame> seenFrames;
};

TEST_F(MainLoopTest, AClickIsSeenByExactlyOneFrame) {
    const int exitCode = scripted::runGameWith([](int pass) {
        if (pass == 0) {
            scripted::click(100, 200);
        } else if (pass == 3) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(seenFrames.size(), 2u);
    EXPECT_TRUE(seenFrames[0].clickLatch);
    EXPECT_EQ(seenFrames[0].clickPos.x, 100);
    EXPECT_EQ(seenFrames[0].clickPos.y, 200);
    EXPECT_FALSE(seenFrames[1].clickLatch);
}

TEST_F(MainLoopTest, TwoReleasesBeforeOneFrameAreOneClickAtTheLaterPlace) {
    scripted::runGameWith([](int pass) {
        if (pass == 0) {
            scripted::click(10, 20);
            scripted::click(30, 40);
        } else if (pass == 2) {
            scripted::requestClose();
        }
    });
    ASSERT_EQ(seenFrames.size(), 1u);
    EXPECT_TRUE(seenFrames[0].clickLatch);
    EXPECT_EQ(seenFrames[0].clickPos.x, 30);
    EXPECT_EQ(seenFrames[0].clickPos.y, 40);
}

TEST_F(MainLoopTest, MinimizedRunsNoFrameAndNoMusicCheckButDrainsMessages) {
    int framesWhileMinimized = -1;
    scripted::runGameWith([&](int pass) {
        switch (pass) {
        case 0:
            scripted::finishSong(musicHandle);
            scripted::minimize();
            break;
        case 2:
            scripted::pressKey(VK_LEFT);
            break;
        case 3:
            framesWhileMinimized = script().presentedFrames;
            scripted::restore();
            break;
        case 5:
            scripted::requestClose();
            break;
        default:
            break;
        }
    });
    EXPECT_EQ(framesWhileMinimized, 0);
    EXPECT_EQ(KeyState[VK_LEFT], 1);
    EXPECT_EQ(seenFrames.size(), 1u);
    // The loop slept instead of spinning, and the finished song came back only after a frame.
    const std::vector<std::string> fromWait = scripted::callsFrom("waitMessage");
    ASSERT_FALSE(fromWait.empty());
    const std::vector<std::string> fromPresent = scripted::callsFrom("present");
    ASSERT_GE(fromPresent.size(), 2u);
    EXPECT_EQ(fromPresent[1], "playSong 1");
    EXPECT_EQ(scripted::countCalls("playSong"), 1);
    EXPECT_EQ(script().waitsOnEmptyQueue, 0);
}

TEST_F(MainLoopTest, AStateBeyondTheLastDrawsNothingButTheLoopGoesOn) {
    GameState = LevelSelect + 1;
    bool latchAfterFrame = true;
    scripted::runGameWith([&](int pass) {
        if (pass == 0) {
            scripted::click(5, 5);
            scripted::finishSong(musicHandle);
        } else if (pass == 2) {
            latchAfterFrame = clickLatch;
            scripted::requestClose();
        }
    });
    EXPECT_EQ(script().presentedFrames, 0);
    EXPECT_FALSE(latchAfterFrame);
    EXPECT_EQ(scripted::countCalls("playSong 1"), 1);
}

TEST_F(MainLoopTest, ACloseRequestEndsTheRunWithExitCodeZeroAndTearsDown) {
    const int exitCode = scripted::runGameWith([](int pass) {
        if (pass == 1) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(seenFrames.size(), 1u);
    EXPECT_EQ(scripted::countCalls("destroyWindow"), 1);
    EXPECT_EQ(scripted::countCalls("unregisterWindowClass"), 1);
}

TEST_F(MainLoopTest, TheExitCodeIsTheQuitMessages) {
    const int exitCode = scripted::runGameWith([](int pass) {
        if (pass == 0) {
            platform::postQuitMessage(3);
        }
    });
    EXPECT_EQ(exitCode, 3);
}

// Quit clicked while a key is down, or with a key message the last one handled: the run still
// ends with 0. The exit status comes from a Quit message or a failure, never from a key code.
TEST_F(MainLoopTest, QuitWithAKeyHeldEndsWithZero) {
    const int exitCode = scripted::runGameWith([](int pass) {
        if (pass == 0) {
            scripted::pressKey(VK_LEFT);
        } else if (pass == 2) {
            scripted::pressKey(VK_LEFT); // pressed again, the last message before the click
            scripted::click((layout::mainMenuQuit.left + layout::mainMenuQuit.right) / 2,
                            (layout::mainMenuQuit.top + layout::mainMenuQuit.bottom) / 2);
            scripted::pressKey(VK_DOWN);
        }
    });
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(KeyState[VK_DOWN], 1);
    EXPECT_EQ(exitCode, 0);
}

// The process stopped for ten seconds while a block falls: the next frame moves the block by one
// short step from where it stood, and it is still the same block, falling and steerable.
TEST_F(MainLoopTest, AStallMovesTheFallingBlockOnlyAShortStep) {
    GameState = Level2Play;
    std::srand(7);
    dealLevel(2);
    const int firstBlock = currentBlock;
    const int blocksAtStart = blocksLeft;
    float yBefore = 0.0f;
    float yAfter = 0.0f;
    int blockAfter = -1;
    scripted::runGameWith([&](int pass) {
        if (pass == 3) {
            blocks[currentBlock].y = 101.0f;
            yBefore = blocks[currentBlock].y;
            script().counter += 10 * script().frequency; // SIGSTOP, ten seconds, SIGCONT
        } else if (pass == 4) {
            yAfter = blocks[currentBlock].y;
            blockAfter = currentBlock;
            scripted::requestClose();
        }
    });
    EXPECT_EQ(blockAfter, firstBlock);
    EXPECT_EQ(blocksLeft, blocksAtStart);
    EXPECT_GT(yAfter, yBefore);
    // A tenth of a second of a block that is not hurried: 3 frames of 4 units.
    EXPECT_LE(yAfter - yBefore, 3.0f * 4.0f + 0.01f);
}

TEST_F(MainLoopTest, StartUpRunsInItsFixedOrder) {
    scripted::runGameWith([](int) { scripted::requestClose(); });
    const std::vector<std::string>& calls = script().calls;
    auto indexOf = [&](const std::string& prefix) {
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].rfind(prefix, 0) == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    EXPECT_LT(indexOf("showWindow"), indexOf("startSoundOutput 32000"));
    EXPECT_LT(indexOf("startSoundOutput"), indexOf("loadSong Data/Musat/menumusa.it"));
    // The menu track is loaded at start-up but only the logo screen starts it.
    EXPECT_EQ(scripted::countCalls("playSong"), 0);
    EXPECT_EQ(frameTimer.targetRate, 30.0f);
}

TEST_F(MainLoopTest, MOnAnyScreenMutesTheMusicAcrossTrackChangesUntilMAgain) {
    int step = 0;
    int actedAtFrame = -1;
    const int exitCode = scripted::runGameWith([&](int) {
        if (script().presentedFrames == actedAtFrame) {
            return; // a frame first
        }
        actedAtFrame = script().presentedFrames;
        // One step a frame: mute in the menu, on through the play menu into level 1 (its own
        // track), unmute there, quit. A lost player is stopped.
        if (script().presentedFrames > 2000) {
            scripted::requestClose();
        } else if (GameState == MainMenu && step == 0) {
            scripted::tapKey(VK_M);
            step = 1;
        } else if (GameState == MainMenu && step == 1) {
            EXPECT_TRUE(script().musicMuted);
            scripted::tapKey(VK_RETURN); // Play
            step = 2;
        } else if (GameState == PlayMenu && step == 2) {
            scripted::tapKey(VK_RETURN); // New game
            step = 3;
        } else if (GameState == Level1Play && step == 3) {
            EXPECT_TRUE(script().musicMuted);
            EXPECT_GE(scripted::countCalls(std::string("loadSong ") + levelTrack[1]), 1);
            scripted::tapKey(VK_M);
            step = 4;
        } else if (step == 4) {
            EXPECT_FALSE(script().musicMuted);
            scripted::requestClose();
            step = 5;
        }
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(step, 5);
    EXPECT_EQ(scripted::countCalls("setMusicMuted 1"), 1);
    EXPECT_EQ(scripted::countCalls("setMusicMuted 0"), 1);
}

} // namespace
