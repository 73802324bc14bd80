// The application shell: start-up, the main loop and shutdown, the window and its rendering
// context, input capture, the frame timer and bitmap text. Every global of the shell is declared
// here and defined once in the file named beside it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// ---- main_loop.cpp ---------------------------------------------------------------------------

extern bool quitRequested;            // ends the main loop; once set it is never cleared
extern platform::Message lastMessage; // the last message taken from the queue

int runGame(); // start-up, main loop, shutdown; returns the process exit code
void runMainLoop();

// ---- window.cpp ------------------------------------------------------------------------------

// Where the 1024x768 drawing space lies in the client area: the largest centred 4:3 rectangle,
// in pixels from the client area's top-left corner.
struct Viewport {
    int left = 0;
    int top = 0;
    int width = 1024;
    int height = 768;
};

extern bool fullscreen; // true until the player accepts a window instead
extern Viewport viewport;

int openWindow(const char* title, int width, int height, int bits, bool fullscreenFlag);
void closeWindow();
void resizeView(int width, int height);
int initRenderState();

// ---- input.cpp -------------------------------------------------------------------------------

// Virtual-key codes of the keys the game reads.
constexpr int VK_ESCAPE = 27;
constexpr int VK_LEFT = 37;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;

struct ClickPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

extern std::uint8_t KeyState[256]; // 1 while the key is down
extern bool clickLatch;            // a left-button release happened since the last frame
extern ClickPoint clickPos;        // the cursor at that release, in drawing-space units
extern bool windowActive;          // frames run only while it is set

void windowProc(const platform::Message& message);
ClickPoint drawingPointFromPixels(platform::PixelPoint pixels);

// ---- frame_timer.cpp -------------------------------------------------------------------------

struct FrameTimer {
    float targetRate = 0.0f;
    float measuredRate = 0.0f;
    std::int64_t frequency = 0;
    std::int64_t currentCount = 0;
    std::int64_t lastCount = 0;
    float speedFactor = 0.0f; // time since the previous update, in frames of 1/targetRate s
};

extern FrameTimer frameTimer;

void startFrameTimer(float targetRate);
void updateFrameTimer();

// ---- bitmap_text.cpp -------------------------------------------------------------------------

constexpr int SmallFontHeight = 16;
constexpr int LargeFontHeight = 36;

extern std::uint32_t fontBase; // first display list of the current font; 0 before the first
extern int fontPixelHeight;    // the current font's character height; 0 before the first

void buildSmallFont();
void buildLargeFont();
void deleteFont();
void drawText(const char* format, ...) __attribute__((format(printf, 1, 2)));
