// The seam between the game and the desktop: window and rendering context, messages, time,
// termination signals, boxes, cursor, glyphs, the game's data files and music.
//
// The game asks and the platform performs, reporting success or failure. Orders, texts,
// captions, rules and timings all live above this header; nothing below it decides what the
// game says or does next. Two implementations link against it: the real one in this folder
// (SDL2, libopenmpt over SDL audio, FreeType with fontconfig) and a scripted one for the tests.
//
// Not everything the game touches passes here: the game's files and folders and the standard
// streams have headers of their own beside this one (files.h, game_folder.h, standard_streams.h),
// each with a POSIX and a Win32 side; the tests run them for real, so a stand-in would buy
// nothing. The pictures are decoded with DevIL, above this header.
#pragma once

#include <cstdint>
#include <cstdio>

namespace platform {

// ---------------------------------------------------------------------------------------------
// Window and rendering context, one step at a time, so that the game can say which step failed.
// The steps keep the names of the Win32 calls they stand for (device context, pixel format,
// full-screen mode). SDL does several of those at once when it makes the window, so over SDL
// acquireDeviceContext, setPixelFormat and releaseDeviceContext only answer whether the window
// exists, choosePixelFormat whether it takes OpenGL, and enterFullscreenMode whether the desktop
// is large enough; the order of the steps and their failures stay the game's.

// A desktop to open the window on: an X server or a Wayland compositor, or the video driver that
// SDL_VIDEODRIVER names. False where there is none (a text console, an SSH session).
bool findDisplay();
// What the player is told when findDisplay finds none: the desktop this system's game needs.
const char* noDisplayText();
// The video driver SDL_VIDEODRIVER asks for by name, as given; null when none is asked for.
const char* askedVideoDriver();
bool registerWindowClass();                      // the windowing system is reachable
bool enterFullscreenMode(int width, int height); // false: the desktop is smaller than that
// The part of the screen a window may take (without the desktop's panels and docks), in the
// desktop's window units, once registerWindowClass has succeeded; false when it cannot be told.
bool usableScreenSize(int& width, int& height);
void leaveFullscreenMode(); // the desktop comes back as it was
// Hidden until shown. In full screen it covers the desktop, with or without a window manager;
// out of it, or windowed, its client area is width x height, and it can be resized either way.
// False when no window could be made at all; a window the graphics library cannot draw in is
// still made, and then no pixel format is found for it.
bool createWindow(const char* title, int width, int height, bool fullscreen);
// Switches the window between covering the desktop and a window of the size it was made with;
// a Size message with the new drawable size follows. False when the desktop refused.
bool setFullscreen(bool fullscreen);
bool acquireDeviceContext();
bool choosePixelFormat(int colourBits, int depthBits); // double-buffered RGBA with a depth buffer
bool setPixelFormat();
bool createRenderingContext();
bool makeRenderingContextCurrent();
// Shows, raises and focuses the window; a Size message with the real drawable size follows.
void showWindow();

bool releaseRenderingContext(); // no context current any more
bool deleteRenderingContext();
bool releaseDeviceContext();
bool destroyWindow();
bool unregisterWindowClass();

// The screen saver and the screen lock are held off while awake is set, and may start again once
// it is cleared; cleared until asked.
void keepScreenAwake(bool awake);

bool hasCurrentRenderingContext();
// Presents the back buffer; keeps answering the desktop, takes no message off the queue.
void swapBuffers();

// ---------------------------------------------------------------------------------------------
// Messages, one at a time, in the game's own terms.

// Keys arrive by their Win32 virtual-key codes, the index of the game's key table.
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13; // Enter and keypad Enter alike
constexpr int VK_SHIFT = 16;  // either Shift key
constexpr int VK_PAUSE = 19;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_F1 = 112; // F2 to F12 follow it
// Letters arrive as their capitals' codes, 'A' (65) to 'Z' (90); digits as '0' to '9'.

// A gamepad is a keyboard with few keys: its D-pad and left stick arrive as the arrow keys, its
// south button (A) as VK_RETURN, its east button (B) as VK_ESCAPE and Start as VK_PAUSE.
// A key is down while any keyboard key or pad holds it, and each new press from any of them
// counts: every KeyDown is a new press by one of them (the desktop's auto-repeat never arrives),
// and the KeyUp comes when the last of them lets go. An unplugged pad lets go of every key it
// held. Eight pads are read at once; a pad plugged in beyond them is taken when one goes.

enum class MessageKind : std::uint8_t {
    None,
    Activate,     // wParam: 0 when the window is shown normally, 1 when it is minimized
    Close,        // the window manager asks the window to close
    KeyDown,      // wParam: the virtual-key code
    KeyUp,        // wParam: the virtual-key code
    Size,         // width, height: the new drawable size of the client area in pixels
    LeftButtonUp, // the game reads the cursor for where, when it handles the release
    // The player asked to switch between full screen and a window (Alt+Enter, F11); those keys
    // never arrive as keys of their own.
    FullscreenToggle,
    MouseMove, // the pointer over the window; pointerX, pointerY: where it is on the desktop
    FocusLost, // the window no longer takes the keyboard (another window has it)
    Exposed,   // the window's picture was lost or it moved to another screen: draw it again
    Quit,      // wParam: the exit code given to postQuitMessage
    Other,     // anything else; handled by default
};

struct Message {
    MessageKind kind = MessageKind::None;
    int wParam = 0;
    int width = 0; // Size
    int height = 0;
    // Size: the client area in the desktop's window units, which createWindow takes (on a HiDPI
    // desktop fewer than its pixels).
    int windowWidth = 0;
    int windowHeight = 0;
    // MouseMove: the pointer in desktop pixels. A window that moves or changes size under a
    // resting pointer reports it over the window again, at the same place on the desktop once
    // the window's new place is known.
    int pointerX = 0;
    int pointerY = 0;
};

// Takes one waiting message off the queue; false when none waits.
bool peekMessage(Message& message);
constexpr int WaitForever = -1;
// Blocks until a message waits, without taking it, or until timeoutMilliseconds have passed
// (never, with WaitForever). It may return early; a termination signal ends it.
void waitMessage(int timeoutMilliseconds);
void postQuitMessage(int exitCode); // queues a Quit message carrying exitCode
// Drops the left-button releases waiting in the queue, and the release of a press still held:
// clicks the player aimed at a picture that is no longer shown. Keys stay queued.
void dropWaitingClicks();

// ---------------------------------------------------------------------------------------------
// Time.

std::int64_t performanceCounter();   // monotonic ticks
std::int64_t performanceFrequency(); // ticks per second
// Keeps answering the desktop, takes no message off the queue.
void sleepMilliseconds(int milliseconds);

// ---------------------------------------------------------------------------------------------
// Termination signals (SIGTERM, SIGINT, SIGHUP; on Windows Ctrl+C, Ctrl+Break and the console
// closed), watched from the call on: each arrives as a Quit message with exit code 0, and waits
// end early once one has arrived; while a box is shown the program ends at once. No helper
// process started by the platform outlives the program.

void watchTerminationSignals();
bool terminationRequested(); // a signal has arrived: long sequences (fades) should end early

// ---------------------------------------------------------------------------------------------
// Dialogs and cursor.

enum class MessageBoxButtons : std::uint8_t { Ok, YesNo };
enum class MessageBoxIcon : std::uint8_t { Exclamation, Error, Information };
enum class MessageBoxAnswer : std::uint8_t { Ok, Yes, No, NotShown };

// Modal; shown above the game's window when one is up. Where no box can be shown the caption and
// text go to standard error and the answer is NotShown.
MessageBoxAnswer showMessageBox(const char* text, const char* caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon);

// The display counter: raised by show, lowered by hide; the cursor is visible while it is 0 or
// above. Returns the new count.
int showCursor(bool show);

struct PixelPoint {
    int x = 0;
    int y = 0;
};
PixelPoint cursorPosition(); // now, in drawable pixels of the client area, origin at its top left

// ---------------------------------------------------------------------------------------------
// Glyphs of a bold monospaced face, as 1-bit bitmaps: ink or nothing, in the layout of glBitmap's
// bitmaps (the game packs them into a texture of its own and draws them as quads).

constexpr int FirstGlyphCode = 32;
constexpr int GlyphCount = 96;    // codes 32 to 127
constexpr int MaxGlyphSide = 256; // the large face on an 8K screen still fits

struct GlyphBitmap {
    int width = 0;  // pixels
    int height = 0; // rows
    // glBitmap's xorig: from the pen position to the bitmap's left edge, negated.
    float originX = 0.0f;
    float originY = 0.0f; // glBitmap's yorig: rows of the bitmap below the baseline
    float advance = 0.0f; // how far the pen moves right after the glyph
    // Rows from the bottom up, each (width + 7) / 8 bytes, most significant bit leftmost.
    std::uint8_t bits[MaxGlyphSide * MaxGlyphSide / 8] = {};
};

struct GlyphSet {
    GlyphBitmap glyphs[GlyphCount];
};

// Starts reading the font configuration in the background, so that the first loadGlyphs need not
// wait for it; loadGlyphs works without it too. Started once the window is up: starting the
// desktop's video may fork (D-Bus starting a session bus), and a child forked while another
// thread allocates can hang for ever under the address sanitizer's allocator. Windows has none to
// read: its face is the game's own, in its Fonts folder.
void prepareGlyphs();
// Waits for that reading to end. Called before anything that forks (a message box).
void finishPreparingGlyphs();
// Renders codes 32..127 at a character height of pixelHeight. False when no usable face was found;
// glyphs are then empty with zero advances.
bool loadGlyphs(int pixelHeight, GlyphSet& glyphSet);

// ---------------------------------------------------------------------------------------------
// The game's data files (pictures, modules), named relative to the folder holding Data/
// (gameFilePath): opened for reading without ever blocking, and only when the path names a
// regular file. Otherwise nullptr, with one line on standard error naming the file and why; the
// caller treats it as missing. The same in every implementation (data_file.cpp).

std::FILE* openDataFile(const char* path);

// ---------------------------------------------------------------------------------------------
// Music: one Impulse Tracker module at a time.

using SongHandle = int; // 0: no song

bool startSoundOutput(int sampleRate); // stereo; false leaves every later call silent and harmless
SongHandle loadSong(const char* path); // 0 when the file is missing or not a module
void playSong(SongHandle song);        // from its beginning
void stopSong(SongHandle song);
// True once it has played to its end (it does not loop by itself).
bool isSongFinished(SongHandle song);
void releaseSong(SongHandle song);
// Silences the output, or gives it back, whatever song plays or is loaded later; songs keep
// moving on while silent.
void setMusicMuted(bool muted);

} // namespace platform
