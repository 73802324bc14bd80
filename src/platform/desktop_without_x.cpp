// A desktop that is not X (Windows, the page): there is always one to draw on, it makes a window
// full screen by itself, and SDL's own idea of the screen stands, so there is no server to ask.
// What differs between them, the words and SDL's driver, is in win32_desktop.cpp and
// web_desktop.cpp.
#include "platform/desktop.h"

namespace desktop {

bool environmentNamesDesktop() {
    return true;
}

bool managesFullscreen() {
    return true;
}

bool screenSize(int&, int&) {
    return false;
}

void disconnect() {}

} // namespace desktop
