#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/columns.h"
#include "support/file_bytes.h"
#include "support/own_game_folder_test.h"
#include "support/scripted_platform.h"

namespace {

namespace fs = std::filesystem;
using scripted::script;

// Far more frames than a whole game takes with every block hurried.
constexpr int FrameLimit = 40000;

// The whole game from the logo to the credits and out, in virtual time: a player who clicks the
// menus and steers every block, reading the dealt weights to keep the board within its limit.
class WholeGameTest : public support::OwnGameFolderTest {
protected:
    static std::string progressFile() { return support::fileBytes("Data.dat"); }
    static std::string lastMusicLoad() {
        for (auto call = script().calls.rbegin(); call != script().calls.rend(); ++call) {
            if (call->rfind("loadSong ", 0) == 0) {
                return call->substr(9, call->find(" -> ") - 9);
            }
        }
        return "";
    }
    static void setKey(int virtualKey, bool down) {
        if ((KeyState[virtualKey] != 0) != down) {
            down ? scripted::pressKey(virtualKey) : scripted::releaseKey(virtualKey);
        }
    }
};

int levelInPlay() {
    for (int level = 1; level <= 5; ++level) {
        if (GameState == levelParams(level).playState) {
            return level;
        }
    }
    return 0;
}

// The column for the current block that still lets every later block of the level land within
// the limit, found by walking the dealt weights backwards; 0 when no way is left.
float safeColumn(int level) {
    const int count = levelParams(level).blockCount;
    const int limit = allowedImbalance;
    const int span = 2 * limit + 1;
    // reachable[i][d + limit]: from block i on, with difference d, the level can be finished.
    std::vector<std::vector<bool>> finishable(count + 1, std::vector<bool>(span, false));
    for (int d = 0; d < span; ++d) {
        finishable[count][d] = true;
    }
    for (int i = count - 1; i >= currentBlock; --i) {
        for (int d = -limit; d <= limit; ++d) {
            const int left = d + blocks[i].weight;
            const int right = d - blocks[i].weight;
            finishable[i][d + limit] = (left <= limit && finishable[i + 1][left + limit]) ||
                                       (right >= -limit && finishable[i + 1][right + limit]);
        }
    }
    const int d = leftWeight - rightWeight;
    const int left = d + blocks[currentBlock].weight;
    const int right = d - blocks[currentBlock].weight;
    if (left <= limit && finishable[currentBlock + 1][left + limit]) {
        return LeftColumnX;
    }
    if (right >= -limit && finishable[currentBlock + 1][right + limit]) {
        return RightColumnX;
    }
    return 0.0f;
}

// Runs the game with a player who acts once a presented frame: what it posts is handled before
// the next frame. A player lost somewhere is stopped after FrameLimit frames, and the checks say
// where.
int playGame(const std::function<void()>& player) {
    int actedAtFrame = -1;
    return scripted::runGameWith([&](int) {
        if (script().presentedFrames == actedAtFrame) {
            return;
        }
        actedAtFrame = script().presentedFrames;
        if (actedAtFrame > FrameLimit) {
            scripted::requestClose();
            return;
        }
        player();
    });
}

TEST_F(WholeGameTest, FromTheLogoThroughAllFiveLevelsToTheCreditsAndOut) {
    std::vector<std::string> progressOnEntry; // the file as each next level begins
    std::vector<int> levelsPlayed;
    bool creditsWithLevelFiveTrack = false;
    bool unwinnable = false;
    bool menuTrackAfterCredits = false;

    const int exitCode = playGame([&] {
        const int level = levelInPlay();
        if (std::getenv("TOLVAR_TRACE")) {
            std::fprintf(stderr, "frame %d state %u block %d left %d d %d\n",
                         script().presentedFrames, GameState, currentBlock, blocksLeft,
                         leftWeight - rightWeight);
        }
        if (level != 0) {
            if (levelsPlayed.empty() || levelsPlayed.back() != level) {
                levelsPlayed.push_back(level);
                progressOnEntry.push_back(progressFile());
            }
            if (blocksLeft == 0) {
                return;
            }
            const float column = safeColumn(level);
            unwinnable = unwinnable || column == 0.0f;
            setKey(VK_LEFT, column == LeftColumnX);
            setKey(VK_RIGHT, column == RightColumnX);
            setKey(VK_DOWN, true);
            return;
        }
        setKey(VK_LEFT, false);
        setKey(VK_RIGHT, false);
        setKey(VK_DOWN, false);
        switch (GameState) {
        case MainMenu:
            if (menuTrackAfterCredits) {
                scripted::click(485, 510); // Quit
            } else {
                std::srand(145);           // five deals in a row that careful play can win
                scripted::click(485, 410); // Play
            }
            break;
        case PlayMenu:
            scripted::click(495, 420); // New game
            break;
        case Credits:
            creditsWithLevelFiveTrack = lastMusicLoad() == levelTrack[5];
            scripted::pressKey(VK_ESCAPE);
            menuTrackAfterCredits = true;
            break;
        default:
            break;
        }
    });

    EXPECT_FALSE(unwinnable) << "the seed deals a level no play can win";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(levelsPlayed, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(progressOnEntry, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(creditsWithLevelFiveTrack);
    EXPECT_EQ(lastMusicLoad(), menuTrack);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(progressFile(), "5");
    // Four countdowns of five seconds; the logo is held by a wait, not a sleep.
    EXPECT_EQ(script().sleptMilliseconds, 4 * 5000);
}

TEST_F(WholeGameTest, LosingOnPurposeEndsInGameOverAndAClickReturnsToTheMenu) {
    std::vector<std::uint32_t> screens;
    const int exitCode = playGame([&] {
        if (screens.empty() || screens.back() != GameState) {
            screens.push_back(GameState);
        }
        switch (GameState) {
        case MainMenu:
            if (screens.size() > 3) {
                scripted::click(485, 510); // Quit
            } else {
                scripted::click(485, 410);
            }
            break;
        case PlayMenu:
            scripted::click(495, 420);
            break;
        case Level1Play:
            setKey(VK_LEFT, true); // everything to the left
            break;
        case GameOver:
            setKey(VK_LEFT, false);
            scripted::click(10, 10);
            break;
        default:
            break;
        }
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(screens, (std::vector<std::uint32_t>{Logo, MainMenu, PlayMenu, Level1Setup,
                                                   Level1Play, GameOver, MainMenu}));
    EXPECT_EQ(lastMusicLoad(), menuTrack);
    EXPECT_EQ(progressFile(), "1");
}

TEST_F(WholeGameTest, ABotSteeringEachBlockToTheLighterSideWinsLevelOne) {
    // A plain player: every block goes to the side that weighs less (left on a tie), hurried.
    // It loses only where a tie meets a weight of 10; the seed deals no such level.
    std::vector<std::uint32_t> screens;
    int landings = 0;
    int previousBlocksLeft = -1;
    int worstImbalance = 0;
    const int exitCode = playGame([&] {
        if (screens.empty() || screens.back() != GameState) {
            screens.push_back(GameState);
        }
        switch (GameState) {
        case MainMenu:
            std::srand(3); // weights 4 9 6 3 2 9 4 3 5 2: the difference reaches the limit, 9
            scripted::click(485, 410); // Play
            break;
        case PlayMenu:
            scripted::click(495, 420); // New game
            break;
        case Level1Play:
            if (previousBlocksLeft != -1 && blocksLeft < previousBlocksLeft) {
                ++landings;
            }
            previousBlocksLeft = blocksLeft;
            worstImbalance = std::max(worstImbalance, std::abs(leftWeight - rightWeight));
            setKey(VK_LEFT, leftWeight <= rightWeight);
            setKey(VK_RIGHT, leftWeight > rightWeight);
            setKey(VK_DOWN, true);
            break;
        case Level2Play:
        case GameOver:
            setKey(VK_LEFT, false);
            setKey(VK_RIGHT, false);
            setKey(VK_DOWN, false);
            scripted::requestClose();
            break;
        default:
            break;
        }
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(screens, (std::vector<std::uint32_t>{Logo, MainMenu, PlayMenu, Level1Setup,
                                                   Level1Play, Level1Complete, Level2Play}));
    EXPECT_EQ(landings, levelParams(1).blockCount);
    EXPECT_LE(worstImbalance, levelParams(1).allowedImbalance);
    EXPECT_EQ(progressFile(), "2");
    EXPECT_EQ(lastMusicLoad(), levelTrack[2]);
}

} // namespace
