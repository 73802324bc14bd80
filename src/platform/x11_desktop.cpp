#include "platform/desktop.h"

#include <SDL2/SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace desktop {

namespace {

// A connection of our own for asking after the window manager, open while the window is.
Display* desktopDisplay = nullptr;

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

} // namespace

const char* missingDesktopText() {
    return "No Display Found: Tolvar Needs An X11 Or Wayland Desktop\n(Neither DISPLAY Nor "
           "WAYLAND_DISPLAY Reaches One).";
}

bool environmentNamesDesktop() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

bool isDesktopDriver(const char* driver) {
    return std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0;
}

// Full screen on an X server is asked of the window manager; with none running (a kiosk, a bare
// startx) the request goes unheard and the window would keep its windowed size. A window manager
// owns the screen's WM_Sn selection (ICCCM), which lapses when it ends however it ends, or
// announces itself on the root window (EWMH).
bool managesFullscreen() {
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

// The root window is the X screen; its size is asked of the server itself.
bool screenSize(int& width, int& height) {
    Display* display = desktopConnection();
    Window root = None;
    int x = 0;
    int y = 0;
    unsigned int rootWidth = 0;
    unsigned int rootHeight = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (display == nullptr || XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y,
                                           &rootWidth, &rootHeight, &border, &depth) == 0) {
        return false;
    }
    width = static_cast<int>(rootWidth);
    height = static_cast<int>(rootHeight);
    return true;
}

void disconnect() {
    if (desktopDisplay != nullptr) {
        XCloseDisplay(desktopDisplay);
        desktopDisplay = nullptr;
    }
}

} // namespace desktop
