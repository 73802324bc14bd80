// The browser has no X server to ask: the page is the desktop, and it makes the canvas full
// screen by itself (the page's own full-screen button, F11 and Alt+Enter).
#include "platform/desktop.h"

#include <cstring>

namespace desktop {

const char* missingDesktopText() {
    return "No Display Found: Tolvar Needs A Page With A Canvas.";
}

bool environmentNamesDesktop() {
    return true;
}

bool isDesktopDriver(const char* driver) {
    return std::strcmp(driver, "emscripten") == 0;
}

bool managesFullscreen() {
    return true;
}

bool screenSize(int&, int&) {
    return false;
}

void disconnect() {}

} // namespace desktop
