#include "platform/sdl_video.h"

#include <SDL2/SDL.h>

#include "platform/desktop.h"

namespace {

SDL_Window* gameWindow = nullptr;
SDL_GLContext glContext = nullptr;
bool videoStarted = false;
bool takesGl = false;
bool coversDesktop = false; // the window covers the desktop now
bool coveredByHand = false; // it covers the desktop by its own size, with nobody to ask
Uint32 lastDesktopLook = 0;
// How often a window covering the desktop looks whether a window manager came or went.
constexpr Uint32 DesktopLookMilliseconds = 500;
int windowedWidth = 0; // the client size out of full screen, as the window was made
int windowedHeight = 0;

constexpr Uint32 WindowFlags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;

// The display's bounds as they are now. SDL reads them once, when video starts, and does not
// see the screen change size under it (xrandr, a monitor's mode changed); with one display the
// screen is the display, and its size is asked of the desktop itself where SDL cannot be trusted.
bool displayBoundsNow(int displayIndex, SDL_Rect& bounds) {
    if (SDL_GetDisplayBounds(displayIndex, &bounds) != 0) {
        return false;
    }
    int width = 0;
    int height = 0;
    if (SDL_GetNumVideoDisplays() == 1 && desktop::screenSize(width, height)) {
        bounds = {0, 0, width, height};
    }
    return true;
}

// Where a window out of full screen goes: centred on its display, so that two copies never open
// exactly on top of each other at the corner (a window manager may still place it elsewhere);
// on a display smaller than the window, its top-left corner stays on the display.
SDL_Point windowPlace(int displayIndex, int width, int height) {
    SDL_Rect bounds{0, 0, width, height};
    displayBoundsNow(displayIndex, bounds);
    return {bounds.x + SDL_max(0, (bounds.w - width) / 2),
            bounds.y + SDL_max(0, (bounds.h - height) / 2)};
}

// With nobody to ask, the window itself covers the display it is on, without a frame, or goes
// back to its windowed size.
bool coverDesktopByHand(bool fullscreen) {
    const int display = SDL_GetWindowDisplayIndex(gameWindow);
    const SDL_Point place = windowPlace(display, windowedWidth, windowedHeight);
    SDL_Rect bounds{place.x, place.y, windowedWidth, windowedHeight};
    if (fullscreen && !displayBoundsNow(display, bounds)) {
        return false;
    }
    SDL_SetWindowBordered(gameWindow, fullscreen ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowSize(gameWindow, bounds.w, bounds.h);
    SDL_SetWindowPosition(gameWindow, bounds.x, bounds.y);
    return true;
}

// A window that covers the screen by itself keeps its size and place when the screen changes
// size under it (nobody else resizes it): it covers the screen again as the screen is now.
void followScreenSize() {
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_Rect covered{0, 0, 0, 0};
    SDL_GetWindowPosition(gameWindow, &covered.x, &covered.y);
    SDL_GetWindowSize(gameWindow, &covered.w, &covered.h);
    if (displayBoundsNow(SDL_GetWindowDisplayIndex(gameWindow), bounds) &&
        SDL_RectEquals(&bounds, &covered) == SDL_FALSE) {
        coverDesktopByHand(true);
    }
}

} // namespace

namespace sdl_video {

bool environmentNamesDisplay() {
    return desktop::environmentNamesDesktop();
}

bool startVideo() {
    if (videoStarted) {
        return true;
    }
    // A close request must reach the game as a message of its own, not as a quit of SDL's.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // SDL would hold the screen saver off for the whole run; the game asks while it needs it.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    // 32 colour bits, a 16-bit depth buffer, double buffering; an old-style context for the
    // fixed-function drawing.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Kept deliberately loaded to the end of the run: SDL would unload the GL driver with the
    // last window, and the blocks Mesa still points at from its own globals would then read as
    // lost to the leak checker. Nothing else depends on it; a failure shows at window creation.
    SDL_GL_LoadLibrary(nullptr);
    videoStarted = true;
    return true;
}

bool videoIsUp() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

void stopVideo() {
    if (videoStarted) {
        SDL_EnableScreenSaver();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

bool driverReachesDesktop() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return false;
    }
    if (desktop::isDesktopDriver(driver)) {
        return true;
    }
    // Any other driver only when asked for by name (the tests ask for the offscreen one).
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked != nullptr && SDL_strcasecmp(asked, driver) == 0;
}

bool displayFits(int width, int height) {
    SDL_DisplayMode mode;
    if (!videoStarted || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return false;
    }
    return mode.w >= width && mode.h >= height;
}

bool usableDisplaySize(int& width, int& height) {
    SDL_Rect usable;
    if (!videoStarted || SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 ||
        usable.h <= 0) {
        return false;
    }
    width = usable.w;
    height = usable.h;
    return true;
}

bool createWindow(const char* title, int width, int height, bool fullscreen) {
    if (gameWindow != nullptr) {
        SDL_SetWindowTitle(gameWindow, title);
        return true;
    }
    windowedWidth = width;
    windowedHeight = height;
    // Where the graphics library cannot draw in a window (no GL driver, no visual for the
    // attributes asked), a plain window still tells the player it was the picture format, not
    // the window, that could not be had.
    constexpr Uint32 graphicsFlags[] = {SDL_WINDOW_OPENGL, 0};
    for (const Uint32 graphics : graphicsFlags) {
        const SDL_Point place = windowPlace(0, width, height);
        gameWindow =
            SDL_CreateWindow(title, place.x, place.y, width, height, WindowFlags | graphics);
        if (gameWindow != nullptr) {
            takesGl = graphics != 0;
            break;
        }
    }
    if (gameWindow == nullptr) {
        return false;
    }
    coversDesktop = false;
    return !fullscreen || setFullscreen(true);
}

bool windowTakesGl() {
    return gameWindow != nullptr && takesGl;
}

bool setFullscreen(bool fullscreen) {
    if (gameWindow == nullptr) {
        return false;
    }
    if (fullscreen == coversDesktop) {
        return true;
    }
    bool done = false;
    if (fullscreen) {
        // The desktop as it is now decides: a window manager may have come or gone.
        coveredByHand = !desktop::managesFullscreen();
        done = coveredByHand
                   ? coverDesktopByHand(true)
                   : SDL_SetWindowFullscreen(gameWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    } else if (coveredByHand) {
        done = coverDesktopByHand(false);
    } else {
        done = SDL_SetWindowFullscreen(gameWindow, 0) == 0;
        // The window manager that made it full screen may have gone since: then nobody gives the
        // window its size back, and the window takes it itself.
        if (done && !desktop::managesFullscreen()) {
            coverDesktopByHand(false);
        }
    }
    if (done) {
        coversDesktop = fullscreen;
    }
    return done;
}

void followDesktop() {
    if (gameWindow == nullptr || !coversDesktop) {
        return;
    }
    const Uint32 now = SDL_GetTicks();
    if (now - lastDesktopLook < DesktopLookMilliseconds) {
        return;
    }
    lastDesktopLook = now;
    if (coveredByHand == !desktop::managesFullscreen()) {
        if (coveredByHand) {
            followScreenSize();
        }
        return;
    }
    // A window manager came or went: covered again the way the desktop now gives it.
    if (coveredByHand) {
        SDL_SetWindowBordered(gameWindow, SDL_TRUE);
    } else {
        SDL_SetWindowFullscreen(gameWindow, 0);
    }
    coversDesktop = false;
    setFullscreen(true);
}

bool isFullscreen() {
    return gameWindow != nullptr && coversDesktop;
}

bool createContext() {
    if (gameWindow == nullptr) {
        return false;
    }
    glContext = SDL_GL_CreateContext(gameWindow);
    if (glContext == nullptr) {
        return false;
    }
    // Wait for the display where the driver offers it; elsewhere frames run back to back.
    SDL_GL_SetSwapInterval(1);
    return true;
}

bool makeContextCurrent() {
    return gameWindow != nullptr && glContext != nullptr &&
           SDL_GL_MakeCurrent(gameWindow, glContext) == 0;
}

bool releaseContext() {
    return SDL_GL_MakeCurrent(gameWindow, nullptr) == 0;
}

bool deleteContext() {
    if (glContext == nullptr) {
        return false;
    }
    SDL_GL_DeleteContext(glContext);
    glContext = nullptr;
    return true;
}

bool destroyWindow() {
    desktop::disconnect();
    if (gameWindow == nullptr) {
        return false;
    }
    SDL_DestroyWindow(gameWindow);
    gameWindow = nullptr;
    return true;
}

void showWindow() {
    if (gameWindow == nullptr) {
        return;
    }
    SDL_ShowWindow(gameWindow);
    SDL_RaiseWindow(gameWindow);
}

void drawableSize(int& width, int& height) {
    width = 0;
    height = 0;
    if (gameWindow != nullptr) {
        SDL_GL_GetDrawableSize(gameWindow, &width, &height);
    }
}

void swapWindow() {
    if (gameWindow != nullptr && glContext != nullptr) {
        SDL_GL_SwapWindow(gameWindow);
    }
}

bool hasWindow() {
    return gameWindow != nullptr;
}

bool contextIsCurrent() {
    return glContext != nullptr && SDL_GL_GetCurrentContext() == glContext;
}

SDL_Window* window() {
    return gameWindow;
}

int refreshRate(SDL_Window* window) {
    constexpr int UnknownRefreshRate = 60;
    const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 ||
        mode.refresh_rate <= 0) {
        return UnknownRefreshRate;
    }
    return mode.refresh_rate;
}

} // namespace sdl_video
