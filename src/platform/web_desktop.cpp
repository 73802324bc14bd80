// The browser's desktop is the page: it makes the canvas full screen by itself (the page's own
// full-screen button, F11 and Alt+Enter; desktop_without_x.cpp).
#include "platform/desktop.h"

#include <cstring>

namespace desktop {

const char* missingDesktopText() {
    return "No Display Found: Tolvar Needs A Page With A Canvas.";
}

bool isDesktopDriver(const char* driver) {
    return std::strcmp(driver, "emscripten") == 0;
}

} // namespace desktop
