#include "assets/assets.h"
#include "game/game.h"
#include "shell/shell.h"

bool levelPaused = false;

namespace {

// The large font is in force exactly while level select is shown. The in-level level-select
// button clicked in the frame of a game-over landing or of the level's last landing builds it,
// and the frame then goes on elsewhere; without this the countdown and every later HUD would be
// drawn in it.
void leaveLevelSelectFont() {
    if (fontSize == FontSize::Large) {
        buildSmallFont();
    }
}

bool inColumn(const Block& block, float columnX) {
    return block.x == columnX;
}

void applyLevelButtons(int level) {
    const layout::LevelButtons& buttons = layout::levelButtons[level - 1];
    if (clickedIn(buttons.mainMenu)) {
        GameState = MainMenu;
        changeMusic(menuTrack);
        Crossfade(levelBackground[level], menuTexture);
    }
    if (clickedIn(buttons.startOver)) {
        GameState = Level1Setup;
        if (level == 1) {
            // Kept deliberately: level 1 starts its track here and once more in the setup frame.
            changeMusic(levelTrack[1]);
        } else {
            Crossfade(levelBackground[level], levelBackground[1]);
        }
    }
    if (clickedIn(buttons.levelSelect)) {
        GameState = LevelSelect;
        changeMusic(menuTrack);
        buildLargeFont();
        Crossfade(levelBackground[level], levelSelectTexture);
    }
}

// The current block comes to rest on any landed block of its column whose top is above its
// bottom; the highest top seen since the deal is kept in stackTop.
void scanStacks(Block& falling, int blockCount) {
    float highestTop = stackTop;
    for (int k = 0; k < blockCount; ++k) {
        const Block& other = blocks[k];
        if (other.landed == 1 && other.x == falling.x &&
            static_cast<double>(falling.y) + layout::blockHeight > other.y) {
            falling.landed = 1;
        }
        if (other.landed == 1 && other.y < highestTop) {
            highestTop = other.y;
        }
    }
    stackTop = highestTop;
}

// Held, or pressed since the last frame: a tap shorter than a frame is up again by the time the
// frame looks, and still steers.
bool steeringKey(int virtualKey) {
    return KeyState[virtualKey] != 0 || KeyPressed[virtualKey] != 0;
}

void steer(Block& falling) {
    if (static_cast<double>(falling.y) + layout::blockHeight < stackTop) {
        if (steeringKey(VK_LEFT)) {
            falling.x = layout::leftColumnX;
        }
        if (steeringKey(VK_RIGHT)) {
            falling.x = layout::rightColumnX;
        }
    }
}

// A block lands once its bottom comes within this of the board's centre line under its column.
// Kept deliberately at 10: a level board's top face stands 7.5 above that line, so a block is
// taken as landed once it comes within 2.5 of the plank.
constexpr double landingGap = 10.0;

// The board's centre line under each column follows its angle, 3 pixels per degree.
void landOnBoard(Block& falling) {
    const double reach = static_cast<double>(falling.y) + (layout::blockHeight + landingGap);
    if (inColumn(falling, layout::leftColumnX) && board.y - 3.0 * board.angle < reach) {
        falling.landed = 1;
    }
    if (inColumn(falling, layout::rightColumnX) && board.y + 3.0 * board.angle < reach) {
        falling.landed = 1;
    }
}

void weigh(const Block& falling) {
    if (inColumn(falling, layout::leftColumnX) && falling.landed == 1) {
        leftWeight += falling.weight;
    } else if (inColumn(falling, layout::rightColumnX) && falling.landed == 1) {
        rightWeight += falling.weight;
    }
}

void balance(int level) {
    const std::int32_t difference = leftWeight - rightWeight;
    if (difference > allowedImbalance || difference < -allowedImbalance) {
        GameState = GameOver;
        changeMusic(menuTrack);
        leaveLevelSelectFont();
        Crossfade(levelBackground[level], gameOverTexture);
        return; // the board keeps its last angle
    }
    board.angle = static_cast<float>(rightWeight - leftWeight);
}

// A landing pushes its own column down and the other up by 3 pixels per unit of its weight.
void shiftLanded(const Block& landedBlock, int blockCount) {
    for (int k = 0; k < blockCount; ++k) {
        Block& other = blocks[k];
        if (other.landed != 1) {
            continue;
        }
        if (inColumn(landedBlock, layout::leftColumnX)) {
            other.y += inColumn(other, layout::leftColumnX) ? tiltStep : -tiltStep;
        }
        if (inColumn(landedBlock, layout::rightColumnX)) {
            other.y += inColumn(other, layout::rightColumnX) ? tiltStep : -tiltStep;
        }
    }
}

} // namespace

void applyPlayRules(int level) {
    const LevelParams& params = levelParams(level);
    // Once every block is down the record after the last one is no block of this level: it is
    // left alone, so it can neither weigh, tilt, end the game nor reach past the records.
    const bool blockFalling = blocksLeft != 0;
    Block& falling = blocks[currentBlock];

    if (blockFalling) {
        falling.y = static_cast<float>(static_cast<double>(falling.y) +
                                       static_cast<double>(frameTimer.speedFactor) * falling.speed);
        scanStacks(falling, params.blockCount);
        steer(falling);
        if (KeyState[VK_DOWN]) {
            falling.speed = 12.0f;
        }
        landOnBoard(falling);
        weigh(falling);
        balance(level);
        tiltStep = static_cast<float>(3 * falling.weight);
    }

    if (blocksLeft == 0) {
        GameState = params.completeState;
        leaveLevelSelectFont();
        if (level < 5) {
            levelCountdown(level);
        }
    }

    if (blockFalling && falling.landed == 1) {
        shiftLanded(falling, params.blockCount);
        currentBlock += 1;
        blocks[currentBlock].speed = 4.0f;
        blocksLeft -= 1;
    }
}

namespace {

// The in-level buttons in reading order, top to bottom. A key presses one only while the ring
// shows it: the top one starts the run over from level 1, and no key may do that unseen.
FocusButtons inLevelButtons(int level) {
    const layout::LevelButtons& buttons = layout::levelButtons[level - 1];
    FocusButtons keyed{{buttons.startOver, buttons.levelSelect, buttons.mainMenu}, 3, 0};
    keyed.pressOnlyWithRing = true;
    return keyed;
}

std::uint32_t pausedScreen(int level) {
    return PausedScreen + static_cast<std::uint32_t>(level);
}

bool pauseKeyPressed() {
    return KeyPressed[VK_P] || KeyPressed[VK_PAUSE] || KeyPressed[VK_ESCAPE];
}

// Only while a block falls: once the last one is down the level is won and nothing is left to
// stop. Paused, Enter and Space (a pad's A) go on as the pause keys do while no ring is shown;
// with the ring shown they press its button.
void takePauseKeys(int level) {
    if (levelPaused) {
        if (pauseKeyPressed() || (confirmKeyPressed() && !focusRingShownOn(pausedScreen(level)))) {
            levelPaused = false;
            forgetFocus();
        }
    } else if (blocksLeft != 0 && (pauseKeyPressed() || pauseRequested)) {
        levelPaused = true;
    }
}

// A paused frame draws the still scene and takes the in-level buttons, by mouse or by keys; the
// play rules do not run, so the block goes on from where it stood. The frame timer keeps being
// updated every frame, so the frame after resuming moves by one frame's time, not the pause's.
void pausedLevelFrame(int level) {
    const FocusButtons buttons = inLevelButtons(level);
    // Enter with the ring shown in the last frame but hidden by the mouse in this one presses
    // nothing and goes on with nothing: the player saw a button, and it is no longer shown.
    takeMenuKeys(pausedScreen(level), buttons);
    drawLevelScene(level);
    drawPauseShade();
    drawFocusRing(buttons);
    platform::swapBuffers();
    if (clickLatch) {
        applyLevelButtons(level);
    }
}

} // namespace

void playLevelFrame(int level) {
    takePauseKeys(level);
    if (levelPaused) {
        pausedLevelFrame(level);
        return;
    }
    drawLevelScene(level);
    platform::swapBuffers();
    if (clickLatch) {
        applyLevelButtons(level);
    }
    applyPlayRules(level);
}
