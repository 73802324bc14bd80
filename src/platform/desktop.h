// The desktop the game's window goes on, where SDL does not tell all: which one the game needs,
// and, on X11, whether a window manager is there to make a window full screen and how large the
// screen is now (asked of the X server over a connection of our own). Where SDL does not draw on
// X (Wayland, Windows, the page, the tests' offscreen driver) the desktop always makes a window
// full screen itself and SDL's own idea of the screen stands. One side per system:
// x11_desktop.cpp (X11 and Wayland), win32_desktop.cpp and web_desktop.cpp, these two with what
// they share in desktop_without_x.cpp.
#pragma once

namespace desktop {

// The words for a start that found no desktop: the one this system's game needs, and where it
// looked.
const char* missingDesktopText();

// The environment names a desktop to draw on: DISPLAY (X11) or WAYLAND_DISPLAY. A Windows session
// always has one.
bool environmentNamesDesktop();

// SDL's video driver of that name draws on such a desktop (x11, wayland; on Windows, windows).
bool isDesktopDriver(const char* driver);

// A window manager runs and will make a window full screen when asked; true wherever the desktop
// is not X11. Asked anew at every call, since a window manager may start or end while the game
// runs.
bool managesFullscreen();

// The size of the X screen as the server has it now (SDL reads it once, when video starts, and
// misses an xrandr change). False where the desktop is not X11 or the server could not say.
bool screenSize(int& width, int& height);

// Closes the connection the questions above opened, if any; the next question opens it again.
void disconnect();

} // namespace desktop
