#include "platform/sdl_video.h"

#include <SDL2/SDL.h>

namespace {

SDL_Window* gameWindow = nullptr;
SDL_GLContext glContext = nullptr;
bool videoStarted = false;

constexpr Uint32 WindowFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;

} // namespace

namespace sdl_video {

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

void stopVideo() {
    if (videoStarted) {
        SDL_EnableScreenSaver();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

bool displayFits(int width, int height) {
    SDL_DisplayMode mode;
    if (!videoStarted || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return false;
    }
    return mode.w >= width && mode.h >= height;
}

bool createFullscreenWindow(const char* title, int windowedWidth, int windowedHeight) {
    if (gameWindow != nullptr) {
        return true;
    }
    // Full screen on the desktop's own mode: switching the display mode fails on Wayland and
    // XWayland, and the game letterboxes its 4:3 space itself.
    // The windowed size is what the window falls back to when it leaves full screen, so that
    // it does not shrink to a speck at teardown or while a message box is up.
    gameWindow = SDL_CreateWindow(title, 0, 0, windowedWidth, windowedHeight,
                                  WindowFlags | SDL_WINDOW_FULLSCREEN_DESKTOP);
    return gameWindow != nullptr;
}

bool createWindowedWindow(const char* title, int clientWidth, int clientHeight) {
    if (gameWindow != nullptr) {
        SDL_SetWindowTitle(gameWindow, title);
        return true;
    }
    gameWindow = SDL_CreateWindow(title, 0, 0, clientWidth, clientHeight, WindowFlags);
    return gameWindow != nullptr;
}

bool leaveFullscreen() {
    if (gameWindow == nullptr) {
        return true;
    }
    if ((SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
        return true;
    }
    return SDL_SetWindowFullscreen(gameWindow, 0) == 0;
}

bool enterFullscreen() {
    if (gameWindow == nullptr) {
        return false;
    }
    return SDL_SetWindowFullscreen(gameWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

bool isFullscreen() {
    return gameWindow != nullptr &&
           (SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
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

bool hasContext() {
    return glContext != nullptr;
}

bool contextIsCurrent() {
    return glContext != nullptr && SDL_GL_GetCurrentContext() == glContext;
}

SDL_Window* window() {
    return gameWindow;
}

} // namespace sdl_video
