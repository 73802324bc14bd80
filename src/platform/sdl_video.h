// The SDL window and OpenGL context behind the window steps of the platform seam. Shared by the
// real platform and by the tests' scripted platform, which runs it on SDL's offscreen driver.
#pragma once

struct SDL_Window;

namespace sdl_video {

// DISPLAY or WAYLAND_DISPLAY names a desktop; without either there is nothing to open or to show
// a box on, unless SDL_VIDEODRIVER asks for a driver by name.
bool environmentNamesDisplay();
bool startVideo(); // SDL's video subsystem, with the GL attributes the game asks for
void stopVideo();
bool videoIsUp(); // SDL's video subsystem runs, for the game's window or just for a box
// The driver SDL chose is a desktop's (X11, Wayland) or the one SDL_VIDEODRIVER asks for by name,
// never a fallback onto SDL's offscreen driver that nobody would see.
bool driverReachesDesktop();
bool displayFits(int width, int height); // the desktop is at least width x height
// The first display's bounds without the desktop's panels and docks; false while video is down.
bool usableDisplaySize(int& width, int& height);
// Full screen covers the desktop without a mode switch; otherwise, and whenever it leaves full
// screen, the client area is width x height, centred on the display. Resizable either way. Where
// the graphics library cannot draw in such a window, a plain one is made instead (see
// windowTakesGl).
bool createWindow(const char* title, int width, int height, bool fullscreen);
bool windowTakesGl(); // false: the window had to be made without OpenGL
bool setFullscreen(bool fullscreen);
bool isFullscreen();
// While the window covers the desktop, twice a second: when a window manager has come or gone, it
// covers the desktop again the way the desktop now gives it; covering it by itself, it covers the
// screen again when the screen has changed size under it. Size messages follow.
void followDesktop();
bool createContext(); // creates the context; SDL makes it current as well
bool makeContextCurrent();
bool releaseContext();
bool deleteContext();
bool destroyWindow();
void showWindow();
void drawableSize(int& width, int& height);
void swapWindow();

// The refresh rate of the display that shows `window` (the first display when null), in Hz; 60
// when the display does not say.
int refreshRate(SDL_Window* window);

bool hasWindow();
bool contextIsCurrent();
SDL_Window* window(); // null when there is none

} // namespace sdl_video
