// Windows has no X server to ask: its desktop makes a window full screen by itself, and SDL
// follows the screen's size there through the system's own display-change messages.
#include "platform/desktop.h"

#include <cstring>

namespace desktop {

const char* missingDesktopText() {
    return "No Display Found: Tolvar Needs The Windows Desktop.";
}

bool environmentNamesDesktop() {
    return true;
}

bool isDesktopDriver(const char* driver) {
    return std::strcmp(driver, "windows") == 0;
}

bool managesFullscreen() {
    return true;
}

bool screenSize(int&, int&) {
    return false;
}

void disconnect() {}

} // namespace desktop
