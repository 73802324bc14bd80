// The menus, level select and a paused level played with keys alone: the focus order of each
// screen, a key press taken exactly as a click at the focused button's centre, Escape's way
// back, the ring shown only to a keyboard player.
#include <GL/gl.h>

#include <cstring>
#include <utility>
#include <vector>

#include "support/game_fixture.h"

namespace {

using scripted::script;

// Written out again here, as the test's own oracle: the buttons' rectangles.
constexpr ClickRect MainMenuRects[] = {
    {440, 390, 530, 430}, {440, 440, 530, 480}, {440, 490, 530, 530}};
constexpr ClickRect PlayMenuRects[] = {
    {410, 405, 580, 435}, {400, 440, 590, 470}, {400, 475, 590, 505}};

class KeyboardMenusTest : public ScriptedGameTest {
protected:
    static void showScreen(std::uint32_t state) {
        GameState = state;
        fadePending = false;
        forgetFocus();
    }
    // Down `steps` times (the first only shows the focus), then Enter: where it leads.
    static std::uint32_t enterAfterDowns(std::uint32_t screen, int steps) {
        showScreen(screen);
        for (int i = 0; i < steps; ++i) {
            keyFrame(VK_DOWN);
        }
        keyFrame(VK_RETURN);
        return GameState;
    }
};

TEST_F(KeyboardMenusTest, FocusGoesInReadingOrderOnEveryMenuAndEnterEnterStartsANewGame) {
    // The first navigation key only shows the focus: one Down still leaves it on the first button.
    EXPECT_EQ(enterAfterDowns(MainMenu, 0), PlayMenu);
    EXPECT_EQ(enterAfterDowns(MainMenu, 1), PlayMenu);
    EXPECT_EQ(enterAfterDowns(MainMenu, 2), Help);
    EXPECT_FALSE(quitRequested);
    EXPECT_EQ(enterAfterDowns(PlayMenu, 0), Level1Setup);
    EXPECT_EQ(enterAfterDowns(PlayMenu, 2), LevelSelect);
    buildSmallFont();
    EXPECT_EQ(enterAfterDowns(PlayMenu, 3), MainMenu);
    // Past the last button it wraps to the first; Up, Left and Shift+Tab go back.
    EXPECT_EQ(enterAfterDowns(PlayMenu, 4), Level1Setup);
    showScreen(MainMenu);
    keyFrame(VK_TAB);
    keyFrame(VK_UP); // from Play back round to Quit
    keyFrame(VK_LEFT);
    windowProc({platform::MessageKind::KeyDown, VK_SHIFT});
    keyFrame(VK_TAB);
    windowProc({platform::MessageKind::KeyUp, VK_SHIFT});
    keyFrame(VK_RIGHT); // Quit, Help, Play, then on to Help
    keyFrame(VK_SPACE);
    EXPECT_EQ(GameState, Help);
    showScreen(MainMenu);
    EXPECT_EQ(enterAfterDowns(MainMenu, 3), MainMenu);
    EXPECT_TRUE(quitRequested);
}

TEST_F(KeyboardMenusTest, AKeyPressIsAClickAtTheCentreOfTheFocusedButton) {
    for (int button = 0; button < 3; ++button) {
        showScreen(MainMenu);
        for (int i = 0; i <= button; ++i) {
            keyFrame(VK_DOWN);
        }
        key(VK_RETURN);
        updateFrameTimer();
        FrameDispatcher();
        const ClickRect& rect = MainMenuRects[button];
        EXPECT_TRUE(clickLatch);
        EXPECT_EQ(clickPos.x, (rect.left + rect.right) / 2) << button;
        EXPECT_EQ(clickPos.y, (rect.top + rect.bottom) / 2) << button;
        clearFrameInput();
    }
    // The same screen reached by keys and by the mouse makes the same calls.
    quitRequested = false;
    showScreen(PlayMenu);
    keyFrame(VK_DOWN);
    keyFrame(VK_DOWN);
    const std::size_t before = script().calls.size();
    keyFrame(VK_RETURN);
    const std::vector<std::string> byKeys(script().calls.begin() + before, script().calls.end());
    const std::uint32_t stateByKeys = GameState;
    buildSmallFont();
    const std::size_t middle = script().calls.size();
    showScreen(PlayMenu);
    clickLatch = true;
    clickPos = {(PlayMenuRects[1].left + PlayMenuRects[1].right) / 2,
                (PlayMenuRects[1].top + PlayMenuRects[1].bottom) / 2};
    frame();
    const std::vector<std::string> byClick(script().calls.begin() + middle, script().calls.end());
    EXPECT_EQ(stateByKeys, LevelSelect);
    EXPECT_EQ(GameState, LevelSelect);
    EXPECT_EQ(byKeys, byClick);
}

TEST_F(KeyboardMenusTest, LevelSelectStartsOnTheHighestUnlockedLevelThenTheBackButton) {
    std::strcpy(Progress, "3");
    buildLargeFont();
    EXPECT_EQ(enterAfterDowns(LevelSelect, 0), Level3Play);
    buildLargeFont();
    EXPECT_EQ(enterAfterDowns(LevelSelect, 2), PlayMenu); // level 3, then the back button
    buildLargeFont();
    EXPECT_EQ(enterAfterDowns(LevelSelect, 3), Level1Setup); // wrapped to level 1
    buildLargeFont();
    EXPECT_EQ(enterAfterDowns(LevelSelect, 4), Level2Play);
    EXPECT_EQ(fontSize, FontSize::Small);
}

TEST_F(KeyboardMenusTest, EscapeDoesWhatTheScreensBackButtonDoes) {
    showScreen(MainMenu);
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, MainMenu);
    EXPECT_FALSE(quitRequested);
    showScreen(PlayMenu);
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, MainMenu);
    std::strcpy(Progress, "5");
    buildLargeFont();
    showScreen(LevelSelect);
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, PlayMenu); // where its Back button leads
    EXPECT_EQ(fontSize, FontSize::Small);
    // Game over leaves with Enter (a pad's A), never with Escape.
    showScreen(GameOver);
    keyFrame(VK_ESCAPE);
    EXPECT_EQ(GameState, GameOver);
    keyFrame(VK_RETURN);
    EXPECT_EQ(GameState, MainMenu);
}

TEST_F(KeyboardMenusTest, AfterTheMouseHidesTheRingEnterDoesWhatItDoesOnAFreshScreen) {
    std::strcpy(Progress, "3");
    const std::pair<std::uint32_t, std::uint32_t> screens[] = {
        {MainMenu, PlayMenu}, {PlayMenu, Level1Setup}, {LevelSelect, Level3Play}};
    int pointerX = 0;
    for (const auto& [screen, enterLeadsTo] : screens) {
        buildLargeFont();
        showScreen(screen);
        keyFrame(VK_DOWN);
        keyFrame(VK_DOWN); // the ring on the second button
        windowProc({.kind = platform::MessageKind::MouseMove, .pointerX = ++pointerX});
        frame();
        keyFrame(VK_RETURN);
        EXPECT_EQ(GameState, enterLeadsTo) << screen;
    }
}

TEST_F(KeyboardMenusTest, OnLevelSelectTheRingGoesRoundTheLabelClearOfItsText) {
    // Level 1's glyphs stand within x 406 to 565, y 321 to 360; the ring's top bar at y 310.
    std::vector<unsigned char> nearText(160 * 40 * 3);
    unsigned char ring[4] = {};
    script().onPresent = [&](int) {
        glReadPixels(406, 768 - 1 - 360, 160, 40, GL_RGB, GL_UNSIGNED_BYTE, nearText.data());
        glReadPixels(485, 768 - 1 - 310, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, ring);
    };
    std::strcpy(Progress, "1");
    buildLargeFont();
    showScreen(LevelSelect);
    frame();
    const std::vector<unsigned char> plain = nearText;
    keyFrame(VK_DOWN);
    script().onPresent = nullptr;
    EXPECT_TRUE(nearText == plain);
    EXPECT_GT(ring[0], 200); // the ring's gold
    EXPECT_LT(ring[2], 60);
}

// F11 or Alt+Enter there and back under the resting pointer reports it over the window again,
// first where the window's new place is not yet known: that is no movement, and the ring stays.
TEST_F(KeyboardMenusTest, TheRingShowsAfterANavigationKeyAndGoesWhenTheMouseMoves) {
    // A pixel on the ring's top bar, just above the focused Help button, as presented.
    std::vector<unsigned char> seen;
    script().onPresent = [&](int) {
        unsigned char pixel[4] = {};
        glReadPixels(485, 768 - 1 - (440 - 4), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        seen.assign(pixel, pixel + 3);
    };
    const platform::Message pointer{.kind = platform::MessageKind::MouseMove, .pointerX = 300};
    showScreen(MainMenu);
    windowProc(pointer);
    frame();
    const std::vector<unsigned char> plain = seen;
    keyFrame(VK_DOWN);
    EXPECT_EQ(seen, plain) << "the first key shows the ring on Play, not on Help";
    keyFrame(VK_DOWN);
    windowProc({platform::MessageKind::FullscreenToggle});
    windowProc(
        {.kind = platform::MessageKind::MouseMove, .pointerX = 321}); // window not yet placed
    windowProc({platform::MessageKind::FullscreenToggle});
    windowProc(pointer);
    frame();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_GT(seen[0], 200);
    EXPECT_GT(seen[1], 160);
    EXPECT_LT(seen[2], 60);
    windowProc({.kind = platform::MessageKind::MouseMove, .pointerX = 301});
    frame();
    EXPECT_EQ(seen, plain);
    script().onPresent = nullptr;
}

} // namespace
