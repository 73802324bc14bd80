// The scripted platform: the seam of platform.h played by the tests. Time is virtual (a sleep or
// a presented frame moves the clock on at once), window messages come from a script, message
// boxes are recorded and answered from a script, music calls are recorded, and drawing goes to
// a real OpenGL context on a hidden window (SDL's offscreen driver on Linux, its own on Windows)
// so that pixels can be read back.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace scripted {

enum class WindowStep {
    FindDisplay,
    RegisterClass,
    FullscreenMode,
    CreateWindow,
    DeviceContext,
    ChoosePixelFormat,
    SetPixelFormat,
    CreateContext,
    MakeCurrent,
    ReleaseContext,
    DeleteContext,
    ReleaseDeviceContext,
    DestroyWindow,
    UnregisterClass,
    SetFullscreen,
};

struct ShownBox {
    std::string text;
    std::string caption;
    platform::MessageBoxButtons buttons;
    platform::MessageBoxIcon icon;
};

struct Script {
    // Window steps.
    std::vector<WindowStep> failingSteps;
    std::vector<std::string> calls; // every window step, music call and box, in order
    bool recordingCalls = true;     // off where a test counts the game's own allocations: the
                                    // song calls then build no text either

    // The desktop: the driver SDL_VIDEODRIVER names (none when empty), and the usable screen
    // (unknown while 0).
    std::string askedVideoDriver;
    int usableScreenWidth = 0;
    int usableScreenHeight = 0;

    // Messages waiting for the game, and what the test does when the game finds none.
    std::deque<platform::Message> messages;
    std::function<void()> onQueueEmpty;
    int waitsOnEmptyQueue = 0;

    // Virtual time: ticks per second, the clock, and how far one presented frame moves it.
    std::int64_t frequency = 3'000'000;
    std::int64_t counter = 1'000'000;
    std::int64_t ticksPerPresentedFrame = 100'000; // a frame of 1/30 s
    std::int64_t sleptMilliseconds = 0;

    // Frames presented; onPresent runs just before each one, with its drawing still readable.
    int presentedFrames = 0;
    std::function<void(int frame)> onPresent;

    // Termination signals: watched once the game asks; a test raises `terminationSignal`.
    bool watchingTerminationSignals = false;
    bool terminationSignal = false;

    // Dialogs.
    std::vector<ShownBox> boxes;
    std::deque<platform::MessageBoxAnswer> boxAnswers; // Ok or Yes when none is scripted

    // The screen saver is held off (keepScreenAwake).
    bool screenKeptAwake = false;

    // Cursor.
    int cursorCount = 0;
    platform::PixelPoint cursor;

    // Music.
    bool soundOutputStarted = false;
    std::vector<std::string> missingSongs; // paths whose load fails
    platform::SongHandle lastSong = 0;
    std::vector<platform::SongHandle> finishedSongs;
    std::vector<platform::SongHandle> loadedSongs; // loaded and not released
    bool musicMuted = false;

    // The offscreen window's size, and the drawable size given by showWindow's Size message.
    int drawableWidth = 1024;
    int drawableHeight = 768;
};

Script& script();

// Messages the way the desktop would send them.
void post(platform::Message message);
// The cursor moves to (x, y) drawable pixels and the left button is released there; the cursor
// stays there until a test moves it.
void click(int x, int y);
void pressKey(int virtualKey);
void releaseKey(int virtualKey);
void requestClose();
void minimize();
void restore();
void resize(int width, int height);
void toggleFullscreen();     // Alt+Enter or F11
void tapKey(int virtualKey); // down and up again, both before the next frame
void expose();               // the window's picture was lost: a still screen draws it again
void loseFocus();

// How many calls in the record begin with the given text.
int countCalls(const std::string& prefix);
// The call record from the first call that begins with the given text, or empty.
std::vector<std::string> callsFrom(const std::string& prefix);

// The song has played to its end.
void finishSong(platform::SongHandle song);

} // namespace scripted

namespace scripted {

// Runs the whole game from start-up to exit and returns its exit code. Each time the game finds
// its message queue empty, beforePass is called with a count that rises by one per call: what it
// posts is handled next; when it posts nothing, a frame runs (or, minimized, the game waits).
int runGameWith(const std::function<void(int pass)>& beforePass);

} // namespace scripted
