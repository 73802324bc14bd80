// Screen flow: the game-state machine and its frame dispatcher, the picture screens, the
// crossfades and the level-select screen.
#pragma once

#include <cstdint>

#include "layout/layout.h"
#include "platform/platform.h"

// ---- frame_dispatcher.cpp --------------------------------------------------------------------

enum GameStateValue : std::uint32_t {
    Logo = 0,
    MainMenu = 1,
    PlayMenu = 2,
    Help = 3,
    GameOver = 4,
    Level1Setup = 5,
    Level1Play = 6,
    Level1Complete = 7,
    Level2Play = 8,
    Level2Complete = 9,
    Level3Play = 10,
    Level3Complete = 11,
    Level4Play = 12,
    Level4Complete = 13,
    Level5Play = 14,
    Credits = 15,
    LevelSelect = 16,
};

extern std::uint32_t GameState; // a value above LevelSelect makes a frame do nothing

int FrameDispatcher(); // one frame of the current state; always 0

// ---- still_screen.cpp ------------------------------------------------------------------------

// True when the screen's last frame drew a picture that the next would draw again unchanged: a
// menu, help, credits, game over, level select, a paused level, the logo while it is held.
bool screenIsStill();
bool wakesStillScreen(platform::MessageKind kind); // a message the still screen must answer
// How long a still screen may wait before something is due on it (the logo's hold ending), in
// milliseconds, or platform::WaitForever.
int stillScreenTimeout();

// ---- focus.cpp -------------------------------------------------------------------------------

// The buttons of a screen that keys reach, in reading order, and where the focus starts.
struct FocusButtons {
    layout::ClickRect button[6];
    int count = 0;
    int first = 0;
    // What the ring goes round where the button as drawn is larger than its click rectangle (a
    // level label's slot); none given, the click rectangle.
    layout::ClickRect ringAround[6] = {};
    // Enter and Space press the focused button only while the ring shows it.
    bool pressOnlyWithRing = false;
};

// The screen the focus belongs to: a GameState value, or a paused level's (PausedScreen + level).
constexpr std::uint32_t NoFocusScreen = 0xFFFFFFFFu;
constexpr std::uint32_t PausedScreen = 0x100u;

extern std::uint32_t focusScreen;
extern int focusIndex;  // into the screen's FocusButtons
extern bool focusShown; // after the screen's first navigation key, until the mouse moves

// Reads this frame's keys on a screen with buttons: the arrows, Tab and Shift+Tab move the focus
// (the first one only shows it), Enter and Space latch a click at the centre of the focused
// button. Moving the mouse hides the ring and puts the focus back where the screen starts it.
// True when Escape was pressed.
bool takeMenuKeys(std::uint32_t screen, const FocusButtons& buttons);
bool focusRingShownOn(std::uint32_t screen);     // shown there in the last frame drawn
bool confirmKeyPressed();                        // Enter or Space (a pad's A) this frame
void drawFocusRing(const FocusButtons& buttons); // while shown, around the focused button
layout::ClickRect focusedButton(const FocusButtons& buttons);
void pressButton(const layout::ClickRect& button); // latches a click at the button's centre
void forgetFocus(); // the next screen with buttons starts on its first one, hidden

// ---- picture.cpp -----------------------------------------------------------------------------

// The texture row at the bottom edge of a quad that hides its picture's bottom rows.
constexpr float HiddenPictureRows = static_cast<float>(layout::hiddenPictureRows);

// The bound picture on a quad at z = 0, upright, its texture rows from `bottomRow` (at the
// quad's bottom edge) to 1 (at its top edge).
void drawTexturedQuad(const layout::QuadPlace& place, float bottomRow);
// A quad of the current colour alone, with 2-D texturing off while it is drawn (WebGL samples
// black from a texture that holds no picture, where desktop drivers leave the colour alone).
void drawPlainQuad(const layout::QuadPlace& place);
void FullscreenQuad();                  // a quad over the whole drawing space, bottom rows hidden
void drawPicture(unsigned int texture); // clear, identity, the picture over the whole space

// ---- click_rect.cpp --------------------------------------------------------------------------

using layout::ClickRect;

bool clickedIn(const ClickRect& rect); // a click this frame, strictly inside the rectangle

// ---- crossfade.cpp ---------------------------------------------------------------------------

constexpr float FadeStep = 0.02f; // per frame of 1/30 s

extern float fadeIn;  // alpha of the incoming layers
extern float fadeOut; // alpha of the outgoing picture
// Fades run so far: a frame that ran one leaves a pass of it on screen, not the plain picture.
extern std::uint32_t fadesRun;

void Crossfade(unsigned int outgoing, unsigned int incoming);
void LevelCrossfade(unsigned int outgoing, int level);

// ---- menus.cpp -------------------------------------------------------------------------------

extern bool fadePending; // the next menu or play-menu draw fades in instead

void drawMainMenu();
void drawPlayMenu();
// The logo shows at once and is held for its three seconds while the other pictures and the menu's
// module load; keys and clicks made meanwhile are dropped, so that none acts on a main menu not
// yet seen.
void logoFrame();
bool logoHeld(); // the logo is shown and its hold not yet over
int logoHoldMillisecondsLeft();
void mainMenuFrame();
void playMenuFrame();
void helpFrame();
void gameOverFrame();
void creditsFrame();

// ---- level_select.cpp ------------------------------------------------------------------------

void drawLevelSelect();
void levelSelectFrame();
