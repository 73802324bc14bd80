#include <cstdlib>
#include <ctime>
#include <optional>

#include "assets/assets.h"
#include "screens/screens.h"
#include "shell/shell.h"

bool quitRequested = false;
int exitStatus = 0;

namespace {

constexpr const char* WindowTitle = "Tolvar";
constexpr int ColourBits = 32;
constexpr float TargetFrameRate = 30.0f;

// Something happened since the last frame that the next one must show; at first, the first frame.
bool frameWanted = true;
// A key press or click has been handed to the window procedure and waits for its frame.
bool pressWaiting = false;
// A press taken off the queue while another still waited for its frame: it is handled after that
// frame, so that no two presses ever reach one frame and each acts in its turn.
std::optional<platform::Message> heldPress;

bool isPress(const platform::Message& message) {
    return message.kind == platform::MessageKind::KeyDown ||
           message.kind == platform::MessageKind::LeftButtonUp;
}

// What the platform was last asked: the screen saver is held off only while the picture moves.
bool screenKeptAwake = false;

void keepScreenAwake(bool awake) {
    if (awake != screenKeptAwake) {
        platform::keepScreenAwake(awake);
        screenKeptAwake = awake;
    }
}

void restartFinishedSong() {
    if (platform::isSongFinished(musicHandle)) {
        platform::playSong(musicHandle);
    }
}

void runFrame() {
    const std::uint32_t shown = GameState;
    const std::uint32_t fadesBefore = fadesRun;
    updateFrameTimer();
    // On every screen, before the frame, so the frame already plays as the player asked.
    if (KeyPressed[VK_M]) {
        toggleMusicMute();
    }
    FrameDispatcher();
    clearFrameInput();
    pressWaiting = false;
    // A new screen, or one that has just faded in, is drawn once more by its own frame before it
    // can count as still: the last pass of a fade is not quite the screen's picture.
    frameWanted = GameState != shown || fadesRun != fadesBefore;
    if (frameWanted) {
        // A click is aimed at the picture the player saw: one made before or while this frame
        // changed or faded the screen must not land on whatever the new one has under the
        // pointer (a double-click on Back would quit from the main menu). Keys keep their turn.
        platform::dropWaitingClicks();
        if (heldPress && heldPress->kind == platform::MessageKind::LeftButtonUp) {
            heldPress.reset();
        }
    }
    // Read after the frame, so it is the song that the frame left loaded.
    restartFinishedSong();
}

// The picture on screen stays as it is until a message or the screen's next due moment; the song
// still starts again when it ends, which wakes the wait.
void waitOnStillScreen() {
    platform::waitMessage(stillScreenTimeout());
    // The time spent waiting is no frame's time: a paused level goes on as if it had just stopped.
    restartFrameTimer();
    restartFinishedSong();
}

// The held press first, once its turn has come; else the next message on the queue.
bool takeMessage(platform::Message& message) {
    if (heldPress) {
        message = *heldPress;
        heldPress.reset();
        return true;
    }
    return platform::peekMessage(message);
}

} // namespace

void runMainLoop() {
    platform::Message message;
    for (;;) {
        if (takeMessage(message)) {
            if (message.kind == platform::MessageKind::Quit) {
                quitRequested = true;
                exitStatus = message.wParam;
                break;
            }
            if (isPress(message) && pressWaiting && windowActive) {
                heldPress = message; // the waiting press has its frame first
                runFrame();
            } else {
                windowProc(message);
                pressWaiting = pressWaiting || isPress(message);
                frameWanted = frameWanted || wakesStillScreen(message.kind);
            }
        } else if (windowActive) {
            // Play, its setup and countdown, and fades keep the screen awake; a menu, a paused
            // level or the logo's hold let the screen saver and the lock start.
            keepScreenAwake(!screenIsStill());
            if (frameWanted || !screenIsStill()) {
                runFrame();
            } else {
                waitOnStillScreen();
            }
        } else {
            // Minimized: nothing to draw, so sleep until the desktop has something to say
            // instead of polling a whole core away. The song's end wakes it too: the music goes
            // on playing while the window is away.
            keepScreenAwake(false);
            platform::waitMessage(platform::WaitForever);
            restartFinishedSong();
        }
        if (quitRequested) {
            break;
        }
    }
    keepScreenAwake(false);
}

int runGame() {
    if (!openWindow(WindowTitle, windowedSize.width, windowedSize.height, ColourBits, fullscreen)) {
        // The player's own No is no failure; a window that could not be had is.
        return windowDeclined ? 0 : 1;
    }
    platform::prepareGlyphs(); // while the sound starts and the logo is decoded
    // Without sound the game plays on silently; the platform says so on standard error.
    platform::startSoundOutput(MusicSampleRate);
    if (musicMuted) { // as Settings.txt left it
        platform::setMusicMuted(true);
    }
    // The logo alone before the first frame; the other pictures load while it is held.
    startImageLibrary();
    loadLogoTexture();
    finishImageLibrary();
    startFrameTimer(TargetFrameRate);
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    loadProgress();
    if (!quitRequested) {
        runMainLoop();
    }
    closeWindow();
    return exitStatus;
}
