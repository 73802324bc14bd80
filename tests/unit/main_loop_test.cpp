#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
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
        musicHandle = platform::loadSong(menuTrack); // as the logo leaves it
        script().onPresent = [this](int) { seenFrames.push_back({clickLatch, clickPos}); };
    }
    // The window is exposed in every frame, so that the still menu draws a frame at each pass
    // that posts nothing, as a screen in motion does.
    void keepDrawing() {
        script().onPresent = [this](int) {
            seenFrames.push_back({clickLatch, clickPos});
            scripted::expose();
        };
    }
    std::vector<SeenFrame> seenFrames;
};

TEST_F(MainLoopTest, AClickIsSeenByExactlyOneFrame) {
    keepDrawing();
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

// Two releases before one frame are two clicks, each seen by a frame of its own; each is taken
// where the cursor is when it is handled.
TEST_F(MainLoopTest, TwoReleasesBeforeOneFrameAreTwoClicksEachInAFrameOfItsOwn) {
    keepDrawing();
    scripted::runGameWith([](int pass) {
        if (pass == 0) {
            scripted::click(10, 20);
            scripted::click(30, 40);
        } else if (pass == 3) {
            scripted::requestClose();
        }
    });
    ASSERT_GE(seenFrames.size(), 3u);
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_TRUE(seenFrames[frame].clickLatch) << frame;
        EXPECT_EQ(seenFrames[frame].clickPos.x, 30) << frame;
        EXPECT_EQ(seenFrames[frame].clickPos.y, 40) << frame;
    }
    EXPECT_FALSE(seenFrames[2].clickLatch);
}

// The main menu, faded in and then drawn plainly once, waits; each message that can change it
// draws it once more. One that cannot, or its song ending, draws nothing (the song starts again
// all the same). The pointer changes the picture only by hiding the focus ring, and only where it
// really moved: a window changed under it reports it again at the same place.
TEST_F(MainLoopTest, AStillScreenDrawsOnceThenOnceAfterEachMessageThatWakesIt) {
    fadePending = true;
    constexpr int FadeFrames = 51 + 1; // the fade's passes and the menu frame's own present
    using platform::MessageKind;
    struct Step {
        platform::Message message;
        int framesAfter;
    };
    const Step steps[] = {
        {{MessageKind::Other}, 1},
        {{.kind = MessageKind::MouseMove, .pointerX = 1}, 1}, // no ring to hide
        {{MessageKind::KeyDown, VK_DOWN}, 2},
        {{MessageKind::KeyUp, VK_DOWN}, 3},
        {{.kind = MessageKind::MouseMove, .pointerX = 1}, 3}, // not moved: the ring stays
        {{.kind = MessageKind::MouseMove, .pointerX = 2}, 4}, // moved: the ring goes
        {{.kind = MessageKind::MouseMove, .pointerX = 3}, 4},
        {{MessageKind::Exposed}, 5},
        {{MessageKind::Size, 0, 800, 600}, 6},
        {{MessageKind::FocusLost}, 7},
        {{MessageKind::LeftButtonUp}, 8},
    };
    std::vector<int> framesAtWaits;
    int waitsSeen = 0;
    scripted::runGameWith([&](int) {
        const int waits = scripted::countCalls("waitMessage");
        if (waits == waitsSeen) {
            return; // the loop found its queue empty and goes on: to a frame, or to a wait
        }
        waitsSeen = waits;
        framesAtWaits.push_back(script().presentedFrames);
        const std::size_t step = framesAtWaits.size() - 1;
        if (step == 0) {
            scripted::finishSong(musicHandle);
        }
        if (step < std::size(steps)) {
            scripted::post(steps[step].message);
        } else {
            scripted::requestClose();
        }
    });
    ASSERT_EQ(framesAtWaits.size(), std::size(steps) + 1);
    EXPECT_EQ(framesAtWaits[0], FadeFrames + 1);
    for (std::size_t step = 0; step < std::size(steps); ++step) {
        EXPECT_EQ(framesAtWaits[step + 1], FadeFrames + steps[step].framesAfter) << "step " << step;
    }
    EXPECT_EQ(scripted::countCalls("playSong 1"), 1);
}

// Keys typed while the play menu fades in act one by one once it has, each in a frame of its
// own: Down shows the ring on New game, Down moves it to Levels, Return opens level select; M
// twice mutes and unmutes again.
TEST_F(MainLoopTest, PressesMadeDuringAFadeActOneByOneInOrder) {
    std::strcpy(Progress, "1");
    script().onPresent = [](int) {
        // Typed on the fade's first pass; nothing takes them off the queue until it has ended.
        if (GameState == PlayMenu && fadePending && script().messages.empty()) {
            for (const int key : {VK_DOWN, VK_DOWN, VK_RETURN, VK_M, VK_M}) {
                scripted::tapKey(key);
            }
        }
    };
    bool typed = false;
    // The run ends at the first wait with nothing left to do: the scripted wait then quits.
    scripted::runGameWith([&](int) {
        if (!typed) {
            scripted::tapKey(VK_RETURN); // Play, from a fresh main menu
            typed = true;
        } else if (script().presentedFrames > 500) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(GameState, LevelSelect);
    EXPECT_EQ(scripted::countCalls("setMusicMuted 1"), 1);
    EXPECT_EQ(scripted::countCalls("setMusicMuted 0"), 1);
}

// Double-clicks on the play menu's Back, over the main menu's Quit: the second click, made while
// the main menu fades in or queued behind the first, is dropped with the play menu it was aimed
// at. Enter typed during the fade still acts, on the main menu.
TEST_F(MainLoopTest, AClickMadeBeforeTheScreenChangedNeverActsOnTheNextOne) {
    GameState = PlayMenu;
    int clicks = 0;
    auto clickBack = [&clicks] {
        scripted::click(485, 500);
        ++clicks;
    };
    script().onPresent = [&](int) {
        if (clicks == 1 && GameState == MainMenu) {
            clickBack();
            scripted::tapKey(VK_RETURN); // Play, typed ahead
        }
    };
    scripted::runGameWith([&](int) {
        if (clicks == 0) {
            clickBack();
        } else if (clicks == 2 && GameState == PlayMenu && !fadePending) {
            clickBack();
            clickBack(); // both wait before the same frame
        }
    });
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_EQ(script().waitsOnEmptyQueue, 1); // the run ended in a wait, not by Quit
}

// Minimized, the song still starts again when it ends: the music goes on while the window is
// away.
TEST_F(MainLoopTest, MinimizedRunsNoFrameButDrainsMessagesAndKeepsTheMusicPlaying) {
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
    // The loop slept instead of spinning, and the finished song came back as it woke, before
    // any frame.
    const std::vector<std::string> fromWait = scripted::callsFrom("waitMessage");
    ASSERT_GE(fromWait.size(), 2u);
    EXPECT_EQ(fromWait[1], "playSong 1");
    EXPECT_EQ(scripted::countCalls("present"), 1);
    EXPECT_EQ(scripted::countCalls("playSong"), 1);
    EXPECT_EQ(script().waitsOnEmptyQueue, 0);
}

// The screen saver and the lock may start on a still menu, a paused level and while minimized;
// only play holds them off, and nothing does once the game has ended.
TEST_F(MainLoopTest, OnlyPlayKeepsTheScreenAwake) {
    int step = 0;
    int framesBefore = 0; // frames presented when the step began
    scripted::runGameWith([&](int) {
        // Play, for a frame after the one that went on.
        const bool playing =
            GameState == Level1Play && !levelPaused && script().presentedFrames > framesBefore + 1;
        const bool waiting = script().calls.back() == "waitMessage";
        switch (step) {
        case 0: // on the still menu
            GameState = Level1Setup;
            scripted::expose();
            break;
        case 1:
        case 3:
            if (!playing) {
                return;
            }
            step == 1 ? scripted::tapKey(VK_P) : scripted::minimize();
            break;
        case 2: // paused
            if (!levelPaused || !waiting) {
                return;
            }
            scripted::tapKey(VK_P);
            break;
        case 4: // minimized
            if (windowActive || !waiting) {
                return;
            }
            scripted::restore();
            break;
        default: // the level paused by the minimize
            scripted::requestClose();
            break;
        }
        ++step;
        framesBefore = script().presentedFrames;
    });
    std::vector<std::string> asked;
    std::copy_if(script().calls.begin(), script().calls.end(), std::back_inserter(asked),
                 [](const std::string& call) { return call.starts_with("keepScreenAwake"); });
    EXPECT_EQ(step, 6);
    EXPECT_EQ(asked, (std::vector<std::string>{"keepScreenAwake on", "keepScreenAwake off",
                                               "keepScreenAwake on", "keepScreenAwake off"}));
    EXPECT_FALSE(script().screenKeptAwake);
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
            scripted::pressKey(VK_DOWN);
        } else if (pass == 2) {
            scripted::click((layout::mainMenuQuit.left + layout::mainMenuQuit.right) / 2,
                            (layout::mainMenuQuit.top + layout::mainMenuQuit.bottom) / 2);
            scripted::releaseKey(VK_LEFT); // the last message before the click's frame
        }
    });
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(KeyState[VK_DOWN], 1);
    EXPECT_EQ(KeyState[VK_LEFT], 0);
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
    GameState = Logo;
    script().calls.clear(); // the song the fixture loaded is the logo's to load here
    musicHandle = 0;
    scripted::runGameWith([](int pass) {
        if (pass == 1) {
            scripted::requestClose(); // the logo shown, the menu's module loaded
        }
    });
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
    // The menu track is loaded while the logo is held, and only its end starts it.
    EXPECT_LT(indexOf("present"), indexOf("loadSong Data/Musat/menumusa.it"));
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
