#include "platform/sdl_video.h"

#include <SDL2/SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

SDL_Window* gameWindow = nullptr;
SDL_GLContext glContext = nullptr;
bool videoStarted = false;
bool takesGl = false;
bool coversDesktop = false; // the window covers the desktop now
bool coveredByHand = false; // it covers the desktop by its own size, with nobody to ask
// A connection of our own for asking after the window manager, open while the window is.
Display* desktopDisplay = nullptr;
Uint32 lastDesktopLook = 0;
// How often a window covering the desktop looks whether a window manager came or went.
constexpr Uint32 DesktopLookMilliseconds = 500;
int windowedWidth = 0; // the client size out of full screen, as the window was made
int windowedHeight = 0;

constexpr Uint32 WindowFlags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;

// Whether the window the EWMH check names is still there: a window manager that was killed
// leaves the root window's property behind it, naming a window that has gone with it.
bool isTopLevelWindow(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = children[i] == window;
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// Our own connection to the X server, or null when SDL does not draw on X.
Display* desktopConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) {
        return nullptr;
    }
    if (desktopDisplay == nullptr) {
        desktopDisplay = XOpenDisplay(nullptr);
    }
    return desktopDisplay;
}

// Full screen on an X server is asked of the window manager; with none running (a kiosk, a bare
// startx) the request goes unheard and the window would keep its windowed size. A window manager
// owns the screen's WM_Sn selection (ICCCM), which lapses when it ends however it ends, or
// announces itself on the root window (EWMH). Asked anew at every switch, since a window manager
// may start or end while the game runs. Elsewhere (Wayland, the tests' offscreen driver) the
// desktop always does it.
bool desktopManagesFullscreen() {
    Display* display = desktopConnection();
    if (display == nullptr) {
        return true; // not X, or cannot tell: leave it to the desktop
    }
    char selectionName[32];
    std::snprintf(selectionName, sizeof selectionName, "WM_S%d", DefaultScreen(display));
    const Atom selection = XInternAtom(display, selectionName, False);
    bool announced = selection != None && XGetSelectionOwner(display, selection) != None;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (!announced && check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long left = 0;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &left, &value) == Success &&
            type == XA_WINDOW && count == 1 && value != nullptr) {
            Window named = None;
            std::memcpy(&named, value, sizeof named);
            announced = isTopLevelWindow(display, named);
        }
        if (value != nullptr) {
            XFree(value);
        }
    }
    return announced;
}

// The display's bounds as they are now. SDL reads them once, when video starts, and does not
// see the screen change size under it (xrandr, a monitor's mode changed); with one display the
// X server's root window is the display, and its size is asked of the server itself.
bool displayBoundsNow(int displayIndex, SDL_Rect& bounds) {
    if (SDL_GetDisplayBounds(displayIndex, &bounds) != 0) {
        return false;
    }
    Display* display = SDL_GetNumVideoDisplays() == 1 ? desktopConnection() : nullptr;
    Window root = None;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (display != nullptr && XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y,
                                           &width, &height, &border, &depth) != 0) {
        bounds = {0, 0, static_cast<int>(width), static_cast<int>(height)};
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
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

bool startVideo() {
    if (videoStarted) {
        return true;
    }
    // A close request must reach the game as a message of its own, not as a quit of SDL's.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
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
    SDL_DisableScreenSaver();
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
    if (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0) {
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
        coveredByHand = !desktopManagesFullscreen();
        done = coveredByHand
                   ? coverDesktopByHand(true)
                   : SDL_SetWindowFullscreen(gameWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    } else if (coveredByHand) {
        done = coverDesktopByHand(false);
    } else {
        done = SDL_SetWindowFullscreen(gameWindow, 0) == 0;
        // The window manager that made it full screen may have gone since: then nobody gives the
        // window its size back, and the window takes it itself.
        if (done && !desktopManagesFullscreen()) {
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
    if (coveredByHand == !desktopManagesFullscreen()) {
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
    if (desktopDisplay != nullptr) {
        XCloseDisplay(desktopDisplay);
        desktopDisplay = nullptr;
    }
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

} // namespace sdl_video
