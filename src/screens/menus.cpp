#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"

bool fadePending = true;

namespace {

constexpr std::int64_t LogoHoldMilliseconds = 3000;

constexpr FocusButtons mainMenuButtons{
    {layout::mainMenuPlay, layout::mainMenuHelp, layout::mainMenuQuit}, 3, 0};
constexpr FocusButtons playMenuButtons{
    {layout::playMenuNewGame, layout::playMenuLevelSelect, layout::playMenuBack}, 3, 0};

// The menu and the play menu fade in once each time they are reached through fadePending.
void drawMenuPicture(unsigned int previous, unsigned int picture) {
    if (fadePending) {
        Crossfade(previous, picture);
        fadePending = false;
    } else {
        drawPicture(picture);
    }
}

bool leaveRequested() {
    return clickLatch || KeyState[VK_ESCAPE];
}

} // namespace

void drawMainMenu() {
    drawMenuPicture(logoTexture, menuTexture);
}

void drawPlayMenu() {
    drawMenuPicture(menuTexture, playMenuTexture);
}

namespace {

std::int64_t logoHoldEnds = 0; // the counter's tick when the logo's hold ends; 0 before it shows

std::int64_t logoHoldTicksLeft() {
    return logoHoldEnds - platform::performanceCounter();
}

} // namespace

bool logoHeld() {
    return logoHoldEnds != 0 && logoHoldTicksLeft() > 0;
}

int logoHoldMillisecondsLeft() {
    const std::int64_t left = logoHoldTicksLeft();
    if (left <= 0) {
        return 0;
    }
    const std::int64_t frequency = platform::performanceFrequency();
    return static_cast<int>((left * 1000 + frequency - 1) / frequency);
}

void logoFrame() {
    drawPicture(logoTexture);
    platform::swapBuffers();
    if (logoHoldEnds == 0) {
        // The hold counts from the logo's first showing; the pictures load within it.
        logoHoldEnds = platform::performanceCounter() +
                       LogoHoldMilliseconds * platform::performanceFrequency() / 1000;
        loadTexturesAfterLogo();
    }
    // Whatever was pressed while the logo stood is dropped with this frame's input.
    if (logoHeld()) {
        return;
    }
    platform::playSong(musicHandle);
    GameState = MainMenu;
    platform::showCursor(true);
}

void mainMenuFrame() {
    takeMenuKeys(MainMenu, mainMenuButtons); // nothing to go back to
    drawMainMenu();
    drawFocusRing(mainMenuButtons);
    platform::swapBuffers();
    if (clickedIn(layout::mainMenuPlay)) {
        GameState = PlayMenu;
        fadePending = true; // the play menu's first frame fades in from the menu
    }
    if (clickedIn(layout::mainMenuHelp)) {
        GameState = Help;
        Crossfade(menuTexture, helpTexture);
    }
    if (clickedIn(layout::mainMenuQuit)) {
        quitRequested = true;
    }
}

void playMenuFrame() {
    if (takeMenuKeys(PlayMenu, playMenuButtons)) {
        // Escape is the back button, taken by the same road.
        pressButton(layout::playMenuBack);
    }
    drawPlayMenu();
    drawFocusRing(playMenuButtons);
    platform::swapBuffers();
    if (clickedIn(layout::playMenuBack)) {
        GameState = MainMenu;
        Crossfade(playMenuTexture, menuTexture);
    }
    if (clickedIn(layout::playMenuLevelSelect)) {
        GameState = LevelSelect;
        buildLargeFont();
        Crossfade(playMenuTexture, levelSelectTexture);
    }
    if (clickedIn(layout::playMenuNewGame)) {
        GameState = Level1Setup;
        // Level 1's music starts with its setup frame, after the fade.
        LevelCrossfade(playMenuTexture, 1);
    }
}

void helpFrame() {
    drawPicture(helpTexture);
    platform::swapBuffers();
    if (leaveRequested()) {
        GameState = MainMenu;
        Crossfade(helpTexture, menuTexture);
    }
}

void gameOverFrame() {
    drawPicture(gameOverTexture);
    platform::swapBuffers();
    // Escape does nothing here: the player has just lost and may still be holding keys. Enter and
    // Space (a pad's A) leave as a click does, or a player without a mouse could not leave.
    if (clickLatch || KeyPressed[VK_RETURN] || KeyPressed[VK_SPACE]) {
        GameState = MainMenu;
        Crossfade(gameOverTexture, menuTexture);
    }
}

void creditsFrame() {
    drawPicture(creditsTexture);
    platform::swapBuffers();
    if (leaveRequested()) {
        GameState = MainMenu;
        // The last level's track still plays here; the menu comes back at once, with its own.
        changeMusic(menuTrack);
    }
}
