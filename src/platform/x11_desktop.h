// What an X11 desktop does not tell SDL: whether a window manager is there to make a window full
// screen, and how large the screen is now. Asked of the X server over a connection of our own.
// Where SDL does not draw on X (Wayland, Windows, the tests' offscreen driver) the desktop always
// makes a window full screen itself and SDL's own idea of the screen stands. Windows' side is
// win32_desktop.cpp.
#pragma once

namespace x11_desktop {

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

} // namespace x11_desktop
