#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"

// A still screen shows a picture that nothing changes until the player or the desktop does
// something: once it is drawn, the main loop waits instead of drawing the same picture again.
// Crossfades, play, the level's setup and the countdown are never still: they draw every frame.
bool screenIsStill() {
    switch (GameState) {
    case Logo:
        return logoHeld();
    case MainMenu:
    case PlayMenu:
        return !fadePending; // the first frame still has its fade to run
    case Help:
    case GameOver:
    case Credits:
    case LevelSelect:
        return true;
    case Level1Play:
    case Level2Play:
    case Level3Play:
    case Level4Play:
    case Level5Play:
        return levelPaused;
    default:
        return false;
    }
}

// Every message that can change what the screen shows wakes it: keys (the focus ring, a button,
// M), a click, the window shown, exposed, resized, moved to another screen or switched to full
// screen, and losing the keyboard. The pointer draws nothing of the game's: its movement wakes
// the screen only to hide the ring.
bool wakesStillScreen(platform::MessageKind kind) {
    if (kind == platform::MessageKind::MouseMove) {
        return mouseMoved && focusShown;
    }
    return kind != platform::MessageKind::Other && kind != platform::MessageKind::None;
}

int stillScreenTimeout() {
    if (GameState == Logo) {
        return logoHoldMillisecondsLeft();
    }
    return platform::WaitForever;
}
