// The application shell: start-up, the main loop and shutdown, the window and its rendering
// context, input capture, the frame timer and bitmap text. Every global of the shell is declared
// here and defined once in the file named beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "layout/layout.h"
#include "platform/platform.h"

struct Settings; // assets/assets.h

// ---- main_loop.cpp ---------------------------------------------------------------------------

extern bool quitRequested; // ends the main loop; once set it is never cleared
// What the process ends with: 0, the code a Quit message carries, or 1 when the run ended because
// the game could not be played. Never taken from another message, such as a key held at the end.
extern int exitStatus;

// The game in the folder findGameFolder entered, with the settings as loaded and the command line
// applied: window, pictures, progress, main loop, shutdown; returns the process exit code.
int runGame();
void runMainLoop();

// ---- command_line.cpp ------------------------------------------------------------------------

enum class CommandLineRequest : std::uint8_t { Play, Help, Version, Refused };

struct CommandLine {
    CommandLineRequest request = CommandLineRequest::Play;
    bool fullscreen = true;        // --windowed clears it, --fullscreen sets it; the last one wins
    bool modeGiven = false;        // either was given: it wins over Settings.txt for this run
    const char* refused = nullptr; // the argument that was not understood
};

CommandLine parseCommandLine(int argc, const char* const* argv);
// Help and version on standard output (0, or 1 when it could not be written), or in a box where
// standard output reaches nobody; a refused argument and the usage on standard error (2).
int answerCommandLine(const CommandLine& line);

// ---- quoted_text.cpp -------------------------------------------------------------------------

// Text from outside the game (a file, the environment), made safe to echo on standard error or in
// a box: in double quotes, printable ASCII as it is, '"' and '\' escaped, every other byte
// (controls, NUL, bytes beyond ASCII) as \xNN; at most `longest` bytes of it, then "...".
std::string quotedText(std::string_view text, std::size_t longest = 60);

// ---- game_folder.cpp -------------------------------------------------------------------------

// Makes the folder holding Data/ the working folder: this one, or else the program's own. An
// installed copy that keeps the player's files elsewhere reads Data/ beside the program and works
// in the player's folder, with a Data.dat made there on the first start, as a portable copy (the
// zip's, with platform::PortableMarkerName beside Data/) has in its own. When Data/ is nowhere,
// says so (standard error and a box) and returns false; nothing is created. Once the folder is
// found, ProgressFile is opened there (openProgressFile).
bool findGameFolder();

// ---- window.cpp ------------------------------------------------------------------------------

// Where the 1024x768 drawing space lies in the client area: the largest centred 4:3 rectangle,
// in pixels from the client area's top-left corner.
struct Viewport {
    int left = 0;
    int top = 0;
    int width = layout::screenWidth;
    int height = layout::screenHeight;
};

extern bool fullscreen; // the window covers the desktop: --windowed, the fallback and F11 clear it
extern Viewport viewport;

struct WindowSize {
    int width = layout::screenWidth;
    int height = layout::screenHeight;
};

// The client area out of full screen, in the desktop's window units: from Settings.txt at start,
// then as the player leaves it.
extern WindowSize windowedSize;
// openWindow failed because the player declined a window, not because none could be had.
extern bool windowDeclined;

// The player's settings as the game plays them: musicMuted, fullscreen and windowedSize set from
// the ones loaded at start, and read back for a save.
void useSettings(const Settings& settings);
Settings settingsInUse();

// width x height: the client area out of full screen. Full screen needs a desktop of at least the
// drawing space, whatever that size.
int openWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);
void closeWindow(); // also keeps a window size the player changed in Settings.txt
void resizeView(int width, int height);       // the drawable's new size in pixels
void noteWindowedSize(int width, int height); // a Size message's window units, out of full screen
int initRenderState();
void toggleFullscreen(); // Alt+Enter, F11: full screen to a window and back; kept in Settings.txt

// ---- rgba_texture.cpp ------------------------------------------------------------------------

enum class TextureSampling : std::uint8_t { Linear, Nearest };

// A new texture of width x height texels, 4 bytes each (red, green, blue, alpha), rows from the
// bottom up (t = 0 first); it is left bound. No mipmaps; the wrap modes stay the defaults.
unsigned int createRgbaTexture(int width, int height, const std::uint8_t* rgba,
                               TextureSampling sampling);

// ---- input.cpp -------------------------------------------------------------------------------

// Virtual-key codes of the keys the game reads.
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_LEFT;
using platform::VK_PAUSE;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SHIFT;
using platform::VK_SPACE;
using platform::VK_TAB;
using platform::VK_UP;
constexpr int VK_M = 'M'; // mutes and unmutes the music
constexpr int VK_P = 'P'; // pauses and resumes a level

struct ClickPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

extern std::uint8_t KeyState[256]; // 1 while the key is down
extern bool clickLatch;            // a left-button release happened since the last frame
extern ClickPoint clickPos;        // the cursor as that release was handled, in drawing units
extern bool windowActive;          // frames run only while it is set
// Keys that went down since the last frame; a key the desktop repeats while held counts once.
extern std::uint8_t KeyPressed[256];
extern bool mouseMoved; // the pointer moved on the desktop, over the window, since the last frame
// The window lost the keyboard or was minimized since the last frame: a level pauses.
extern bool pauseRequested;

void windowProc(const platform::Message& message);
ClickPoint drawingPointFromPixels(platform::PixelPoint pixels);
void clearFrameInput(); // after each frame: every click, press, move and pause request is seen once

// ---- frame_timer.cpp -------------------------------------------------------------------------

struct FrameTimer {
    float targetRate = 0.0f;
    // The frame rate the last interval corresponds to. Kept deliberately with the timer's other
    // figures: nothing in the game reads it, but it is what one looks at in a debugger first.
    float measuredRate = 0.0f;
    std::int64_t frequency = 0;
    std::int64_t currentCount = 0;
    std::int64_t lastCount = 0;
    float speedFactor = 0.0f; // elapsedFrames, at most 0.1 s worth: the step of play
    // Time since the previous update, in frames of 1/targetRate s, unbounded: the step of a fade,
    // which a stall still ends at once.
    float elapsedFrames = 0.0f;
};

extern FrameTimer frameTimer;

void startFrameTimer(float targetRate);
void updateFrameTimer();
// The next update counts from now: time spent waiting on a still screen is no frame's time.
void restartFrameTimer();

// ---- bitmap_text.cpp -------------------------------------------------------------------------

// Character heights at a 1024x768 view; on any other the glyphs scale with the view, so text keeps
// its place and size in the drawing space.
constexpr int SmallFontHeight = 16;
constexpr int LargeFontHeight = 36;

enum class FontSize : std::uint8_t { Small, Large };

extern unsigned int fontTexture; // the current font's glyph atlas; 0 before the first
extern FontSize fontSize;        // which is current: large exactly while level select is shown
extern int fontPixelHeight;      // its character height in pixels; 0 before the first

// Make the small or the large font current. Both fonts are built by the first call, and again
// only when the view changes its scale, so switching costs nothing. A font is one texture holding
// its 96 glyphs, drawn as textured quads.
void buildSmallFont();
void buildLargeFont();
void deleteFont();                     // both fonts
int scaledFontHeight(int heightAt768); // in pixels of the current view
void fitFontToView();                  // rebuilds the fonts when the view changed its scale

// Sets the pen at (x, y) of the drawing space, the left end of the next text's baseline; each
// text moves it on by its advances. The modelview matrix plays no part. The text takes the colour
// in force when it is drawn.
void placeTextPen(float x, float y);
// A printf-style text at the pen. Only codes 32 to 127 have glyphs: any other byte draws nothing
// and moves the pen by nothing.
void drawText(const char* format, ...) __attribute__((format(printf, 1, 2))); // current font
void drawTextIn(FontSize size, const char* format, ...) __attribute__((format(printf, 2, 3)));

// How far a text moves the pen in a font, in drawing units; 0 before the font is built.
float textWidth(FontSize size, const char* text);
