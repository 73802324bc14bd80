// A window on the scripted platform, ready for frames: what every test of screens and levels
// starts from. Time is virtual; a frame of 1/30 s passes per presented frame.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

class ScriptedGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
        startFrameTimer(30.0f);
        frameTimer.speedFactor = 1.0f;
    }
    void TearDown() override { closeWindow(); }

    // A level dealt from a fixed seed, as the game deals it.
    static void dealSeeded(int level, unsigned int seed = 7) {
        std::srand(seed);
        dealLevel(level);
    }

    // Puts the current block in a column, with a weight, just above where it would fall next.
    static Block& currentAt(float column, int weight, float y) {
        Block& block = blocks[currentBlock];
        block.x = column;
        block.weight = weight;
        block.y = y;
        block.texture = &weightTextures[weight];
        return block;
    }

    // Runs play frames of a level until the current block has landed (at most `limit` frames).
    static int fallUntilLanded(int level, int limit = 1000) {
        const int startBlock = currentBlock;
        for (int frame = 1; frame <= limit; ++frame) {
            applyPlayRules(level);
            if (currentBlock != startBlock) {
                return frame;
            }
        }
        return -1;
    }

    static void hold(int virtualKey, bool down) { KeyState[virtualKey] = down ? 1 : 0; }

    // A key pressed and released, both handed to the window procedure before the next frame.
    static void key(int virtualKey) {
        windowProc({platform::MessageKind::KeyDown, virtualKey});
        windowProc({platform::MessageKind::KeyUp, virtualKey});
    }
    // One frame of the current screen, its input cleared afterwards as the main loop does.
    static void frame() {
        updateFrameTimer();
        FrameDispatcher();
        clearFrameInput();
    }
    static void keyFrame(int virtualKey) {
        key(virtualKey);
        frame();
    }

    static std::string lastMusicLoad() {
        const auto& calls = scripted::script().calls;
        for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
            if (call->rfind("loadSong ", 0) == 0) {
                return call->substr(9, call->find(" -> ") - 9);
            }
        }
        return "";
    }
};
