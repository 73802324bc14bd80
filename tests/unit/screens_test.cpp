#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/game_fixture.h"

namespace {

using scripted::script;

class ScreensTest : public ScriptedGameTest {
protected:
    // One frame of the current screen with a click at (x, y), or none.
    static void frameWithClick(int x, int y) {
        clickLatch = true;
        clickPos = {x, y};
        updateFrameTimer();
        FrameDispatcher();
        clickLatch = false;
    }
    static void showScreen(std::uint32_t state) {
        GameState = state;
        fadePending = false;
    }
};

TEST_F(ScreensTest, TheLogoHoldsThreeSecondsThenStartsTheMenuTrackAndShowsTheCursor) {
    startImageLibrary();
    const int cursorBefore = script().cursorCount;
    frame();
    // Shown at once, then held without a sleep.
    EXPECT_EQ(GameState, Logo);
    EXPECT_EQ(script().sleptMilliseconds, 0);
    EXPECT_EQ(scripted::countCalls("loadSong Data/Musat/menumusa.it"), 1);
    script().counter += 3 * script().frequency;
    frame();
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_EQ(script().calls.back(), "playSong 1");
    EXPECT_EQ(script().cursorCount, cursorBefore + 1);
    EXPECT_EQ(script().presentedFrames, 2);
}

TEST_F(ScreensTest, TheFirstMainMenuFrameFadesInFromTheLogoAndLaterOnesDoNot) {
    GameState = MainMenu;
    frame();
    EXPECT_EQ(script().presentedFrames, 51 + 1);
    frame();
    EXPECT_EQ(script().presentedFrames, 51 + 2);
}

TEST_F(ScreensTest, MainMenuRectanglesHaveExclusiveBounds) {
    const ClickPoint misses[] = {{440, 410}, {530, 410}, {485, 390}, {485, 430},
                                 {485, 435}, {485, 485}, {439, 500}, {485, 530}};
    for (const ClickPoint& miss : misses) {
        showScreen(MainMenu);
        frameWithClick(miss.x, miss.y);
        EXPECT_EQ(GameState, MainMenu) << miss.x << "," << miss.y;
        EXPECT_FALSE(quitRequested);
    }
    frameWithClick(441, 391);
    EXPECT_EQ(GameState, PlayMenu);
    EXPECT_TRUE(fadePending); // the play menu fades in on its own first frame
    EXPECT_EQ(script().presentedFrames, 9);
    frame();
    EXPECT_EQ(script().presentedFrames, 9 + 51 + 1);
}

TEST_F(ScreensTest, HelpFadesInTheSameFrameAndQuitEndsTheLoop) {
    showScreen(MainMenu);
    frameWithClick(485, 460);
    EXPECT_EQ(GameState, Help);
    EXPECT_EQ(script().presentedFrames, 1 + 51);
    showScreen(MainMenu);
    frameWithClick(529, 529);
    EXPECT_TRUE(quitRequested);
}

TEST_F(ScreensTest, PlayMenuRectangles) {
    showScreen(PlayMenu);
    frameWithClick(500, 490);
    EXPECT_EQ(GameState, MainMenu);

    showScreen(PlayMenu);
    frameWithClick(401, 441);
    EXPECT_EQ(GameState, LevelSelect);
    EXPECT_EQ(fontPixelHeight, LargeFontHeight);

    showScreen(PlayMenu);
    frameWithClick(411, 434);
    EXPECT_EQ(GameState, Level1Setup);
    EXPECT_EQ(scripted::countCalls("loadSong"), 0); // level 1's track comes with its setup
    // Between New game and Level select, and the edges of New game, do nothing.
    for (const ClickPoint miss :
         {ClickPoint{410, 420}, ClickPoint{580, 420}, ClickPoint{500, 437}, ClickPoint{500, 472}}) {
        showScreen(PlayMenu);
        frameWithClick(miss.x, miss.y);
        EXPECT_EQ(GameState, PlayMenu) << miss.x << "," << miss.y;
    }
}

TEST_F(ScreensTest, NewGameDealsLevelOneWithItsTrackInTheSetupFrame) {
    showScreen(Level1Setup);
    frame();
    EXPECT_EQ(GameState, Level1Play);
    EXPECT_EQ(lastMusicLoad(), levelTrack[1]);
    EXPECT_EQ(blocksLeft, 10);
    EXPECT_EQ(script().presentedFrames, 1); // level 1's first play frame ran in the same call
}

TEST_F(ScreensTest, EscapePressedLeavesHelpAndCreditsButNotGameOver) {
    KeyState[VK_ESCAPE] = 1; // held over from the screen before: not pressed here
    showScreen(Help);
    frame();
    EXPECT_EQ(GameState, Help);
    KeyState[VK_ESCAPE] = 0;
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, MainMenu);

    showScreen(GameOver);
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, GameOver);
    frameWithClick(1, 1);
    EXPECT_EQ(GameState, MainMenu);

    musicHandle = platform::loadSong(levelTrack[5]);
    showScreen(Credits);
    const int presentedBefore = script().presentedFrames;
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_EQ(script().presentedFrames, presentedBefore + 1); // no fade
    EXPECT_EQ(lastMusicLoad(), menuTrack);
    EXPECT_EQ(scripted::countCalls("playSong"), 1);
}

// A click over Play and Enter while the logo is held are dropped with it: neither acts on a main
// menu the player has not seen yet.
TEST_F(ScreensTest, PressesMadeWhileTheLogoIsHeldAreDropped) {
    startImageLibrary();
    std::strcpy(Progress, "1");
    script().onPresent = [](int frame) {
        if (frame == 1) {
            scripted::click(485, 410); // over Play
            scripted::tapKey(VK_RETURN);
        }
    };
    GameState = Logo;
    fadePending = true;
    script().onQueueEmpty = [] {
        if (GameState != Logo && !fadePending) {
            scripted::requestClose();
        }
    };
    runMainLoop();
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_FALSE(focusShown);
}

class LevelSelectTest : public ScreensTest {
protected:
    void enterWithProgress(const char* progress) {
        std::strcpy(Progress, progress);
        showScreen(LevelSelect);
        buildLargeFont();
    }
};

TEST_F(LevelSelectTest, OnlyUnlockedLevelsStart) {
    struct Case {
        const char* progress;
        int highestWorking;
    };
    for (const Case c : {Case{"1", 1}, Case{"3", 3}, Case{"5", 5}}) {
        for (int level = 1; level <= 5; ++level) {
            enterWithProgress(c.progress);
            frameWithClick(480, 340 + 60 * (level - 1));
            const std::uint32_t expected = level > c.highestWorking ? LevelSelect
                                           : level == 1             ? Level1Setup
                                                                    : levelParams(level).playState;
            EXPECT_EQ(GameState, expected) << "progress " << c.progress << " level " << level;
        }
    }
}

TEST_F(LevelSelectTest, TheBaselineAndTheLeftEdgeAreOutside) {
    for (const ClickPoint miss :
         {ClickPoint{480, 350}, ClickPoint{410, 340}, ClickPoint{560, 340}, ClickPoint{480, 325}}) {
        enterWithProgress("5");
        frameWithClick(miss.x, miss.y);
        EXPECT_EQ(GameState, LevelSelect) << miss.x << "," << miss.y;
    }
}

TEST_F(LevelSelectTest, LevelTwoIsDealtWithItsTrackBeforeTheFade) {
    enterWithProgress("2");
    frameWithClick(480, 400);
    EXPECT_EQ(GameState, Level2Play);
    EXPECT_EQ(blocksLeft, 15);
    EXPECT_EQ(fontPixelHeight, SmallFontHeight);
    const std::vector<std::string> fromLoad = scripted::callsFrom("loadSong Data/Musat/NOONE.it");
    ASSERT_FALSE(fromLoad.empty());
    EXPECT_EQ(std::count(fromLoad.begin(), fromLoad.end(), "present"), 51);
}

TEST_F(LevelSelectTest, EveryWayOutBringsBackTheSmallFont) {
    enterWithProgress("1");
    frameWithClick(100, 720); // Back
    EXPECT_EQ(GameState, PlayMenu);
    EXPECT_EQ(fontPixelHeight, SmallFontHeight);
    EXPECT_EQ(scripted::countCalls("loadSong"), 0);

    enterWithProgress("1");
    frameWithClick(480, 340);
    EXPECT_EQ(GameState, Level1Setup);
    EXPECT_EQ(fontPixelHeight, SmallFontHeight);
}

} // namespace
