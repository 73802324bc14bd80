// Windows' desktop, as the game needs it: SDL follows the screen's size there through the
// system's own display-change messages (desktop_without_x.cpp).
#include "platform/desktop.h"

#include <cstring>

namespace desktop {

const char* missingDesktopText() {
    return "No Display Found: Tolvar Needs The Windows Desktop.";
}

bool isDesktopDriver(const char* driver) {
    return std::strcmp(driver, "windows") == 0;
}

} // namespace desktop
