// The real platform over SDL2: the window steps (forwarded to sdl_video), time and the cursor.
// The message queue, message boxes, glyphs, keys, gamepads and music live in files of their own.
#include <SDL2/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/desktop.h"
#include "platform/frame_pacing.h"
#include "platform/platform.h"
#include "platform/sdl_gamepads.h"
#include "platform/sdl_messages.h"
#include "platform/sdl_video.h"
#include "platform/termination_signals.h"

namespace platform {

namespace {

int cursorCount = 0; // the display counter: visible while 0 or above

} // namespace

// ---------------------------------------------------------------------------------------------
// Window and rendering context.

bool findDisplay() {
    // Nothing to look for without a display named and no driver asked for: no time is spent on
    // SDL's look at the console's own graphics.
    if (!sdl_video::environmentNamesDisplay() && askedVideoDriver() == nullptr) {
        return false;
    }
    if (!sdl_video::startVideo()) {
        return false;
    }
    if (!sdl_video::driverReachesDesktop()) {
        sdl_video::stopVideo();
        return false;
    }
    return true;
}

const char* noDisplayText() {
    return desktop::missingDesktopText();
}

const char* askedVideoDriver() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked != nullptr && asked[0] != '\0' ? asked : nullptr;
}

bool registerWindowClass() {
    return sdl_video::startVideo();
}

bool enterFullscreenMode(int width, int height) {
    return sdl_video::displayFits(width, height);
}

bool usableScreenSize(int& width, int& height) {
    return sdl_video::usableDisplaySize(width, height);
}

void leaveFullscreenMode() {
    sdl_video::setFullscreen(false);
}

bool createWindow(const char* title, int width, int height, bool fullscreen) {
    return sdl_video::createWindow(title != nullptr ? title : "", width, height, fullscreen);
}

bool setFullscreen(bool fullscreen) {
    return sdl_video::setFullscreen(fullscreen);
}

// SDL chose the visual when it made the window, from the attributes set at start-up; what is
// left of these steps is that the window exists and takes OpenGL.
bool acquireDeviceContext() {
    return sdl_video::hasWindow();
}

bool choosePixelFormat(int colourBits, int depthBits) {
    return sdl_video::windowTakesGl() && colourBits > 0 && depthBits >= 0;
}

bool setPixelFormat() {
    return sdl_video::hasWindow();
}

bool createRenderingContext() {
    return sdl_video::createContext();
}

bool makeRenderingContextCurrent() {
    return sdl_video::makeContextCurrent();
}

void showWindow() {
    sdl_video::showWindow();
    SDL_Window* window = sdl_video::window();
    if (window == nullptr) {
        return;
    }
    SDL_SetWindowInputFocus(window);
    // The game sets its viewport from this, in real pixels, whatever the desktop made of the
    // size asked for.
    int width = 0;
    int height = 0;
    sdl_video::drawableSize(width, height);
    sdl_messages::postSize(width, height);
}

bool releaseRenderingContext() {
    return sdl_video::releaseContext();
}

bool deleteRenderingContext() {
    return sdl_video::deleteContext();
}

bool releaseDeviceContext() {
    return sdl_video::hasWindow();
}

bool destroyWindow() {
    return sdl_video::destroyWindow();
}

bool unregisterWindowClass() {
    if (!sdl_video::videoIsUp()) {
        return false;
    }
    // Only video and the pads go: the music's audio output keeps running to the end of the
    // program.
    sdl_gamepads::stop();
    sdl_video::stopVideo();
    return true;
}

void keepScreenAwake(bool awake) {
    if (awake) {
        SDL_DisableScreenSaver();
    } else {
        SDL_EnableScreenSaver();
    }
}

bool hasCurrentRenderingContext() {
    return sdl_video::contextIsCurrent();
}

void swapBuffers() {
    sdl_video::swapWindow();
    sdl_messages::noteFramePresented();
    frame_pacing::afterSwap();
    sdl_messages::answerDesktop();
}

// ---------------------------------------------------------------------------------------------
// Time.

std::int64_t performanceCounter() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t performanceFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

void sleepMilliseconds(int milliseconds) {
    // Short slices, so that a long wait still answers the desktop's liveness checks.
    constexpr int SliceMilliseconds = 10;
    const std::int64_t frequency = performanceFrequency();
    const std::int64_t end =
        performanceCounter() + static_cast<std::int64_t>(milliseconds) * frequency / 1000;
    for (;;) {
        sdl_messages::answerDesktop();
        const std::int64_t left = end - performanceCounter();
        if (left <= 0 || termination_signals::requested()) {
            break;
        }
        const std::int64_t leftMilliseconds = (left * 1000 + frequency - 1) / frequency;
        SDL_Delay(static_cast<Uint32>(leftMilliseconds < SliceMilliseconds ? leftMilliseconds
                                                                           : SliceMilliseconds));
    }
}

// ---------------------------------------------------------------------------------------------
// Termination signals.

void watchTerminationSignals() {
    // SDL would otherwise take SIGINT and SIGTERM as a quit it reports only between waits.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    termination_signals::watch();
}

bool terminationRequested() {
    return termination_signals::requested();
}

// ---------------------------------------------------------------------------------------------
// Cursor.

int showCursor(bool show) {
    cursorCount += show ? 1 : -1;
    SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

PixelPoint cursorPosition() {
    SDL_Window* window = sdl_video::window();
    int x = 0;
    int y = 0;
    if (window == nullptr) {
        SDL_GetGlobalMouseState(&x, &y);
        return PixelPoint{x, y};
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        // Where the pointer is now, as the desktop knows it, not as of the last event.
        int windowX = 0;
        int windowY = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(window, &windowX, &windowY);
        x -= windowX;
        y -= windowY;
    } else {
        // Without global coordinates (Wayland, offscreen) SDL's own record is the best there is.
        SDL_GetMouseState(&x, &y);
    }
    return sdl_messages::toDrawable(x, y);
}

} // namespace platform
