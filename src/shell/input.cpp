#include <cstring>

#include "shell/shell.h"

std::uint8_t KeyState[256] = {};
bool clickLatch = false;
ClickPoint clickPos;
bool windowActive = true;
std::uint8_t KeyPressed[256] = {};
bool mouseMoved = false;
bool pauseRequested = false;

namespace {

// Where the pointer was last seen on the desktop; none before the first report.
struct DesktopPointer {
    bool seen = false;
    int x = 0;
    int y = 0;
    // The window changed since (F11, Alt+Enter, a resize, another screen): the desktop reports the
    // resting pointer over it anew, and where the window is may not be known yet when it does.
    bool windowChanged = false;
};
DesktopPointer lastPointer;

// A report of the pointer over the window is movement only where it stands elsewhere on the
// desktop, and not the first report after the window changed: a window that comes under a
// resting pointer must not hide the focus ring of a keyboard player.
bool pointerMoved(const platform::Message& message) {
    const bool moved =
        !lastPointer.windowChanged && (!lastPointer.seen || message.pointerX != lastPointer.x ||
                                       message.pointerY != lastPointer.y);
    lastPointer = {true, message.pointerX, message.pointerY, false};
    return moved;
}

void setKeyState(int virtualKey, std::uint8_t down) {
    if (virtualKey >= 0 && virtualKey < 256) {
        if (down == 1) {
            KeyPressed[virtualKey] = 1;
        }
        KeyState[virtualKey] = down;
    }
}

// Floor division, so that a position left of or above the drawing space stays outside it.
int floorDivide(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) {
        --quotient;
    }
    return static_cast<int>(quotient);
}

} // namespace

ClickPoint drawingPointFromPixels(platform::PixelPoint pixels) {
    // Clicks are mapped through the same letterbox as the drawing, so a click lands on the
    // button drawn under the cursor in a window of any size, on any display.
    ClickPoint point;
    point.x = floorDivide(static_cast<std::int64_t>(pixels.x - viewport.left) * layout::screenWidth,
                          viewport.width);
    point.y = floorDivide(static_cast<std::int64_t>(pixels.y - viewport.top) * layout::screenHeight,
                          viewport.height);
    return point;
}

void clearFrameInput() {
    clickLatch = false;
    std::memset(KeyPressed, 0, sizeof KeyPressed);
    mouseMoved = false;
    pauseRequested = false;
}

void windowProc(const platform::Message& message) {
    switch (message.kind) {
    case platform::MessageKind::Activate:
        windowActive = message.wParam == 0;
        if (!windowActive) {
            pauseRequested = true;
        }
        break;
    case platform::MessageKind::FocusLost:
        pauseRequested = true;
        break;
    case platform::MessageKind::MouseMove:
        if (pointerMoved(message)) {
            mouseMoved = true;
        }
        break;
    case platform::MessageKind::Close:
        // The window is torn down by shutdown once the loop has ended, not here.
        platform::postQuitMessage(0);
        break;
    case platform::MessageKind::KeyDown:
        setKeyState(message.wParam, 1);
        break;
    case platform::MessageKind::KeyUp:
        setKeyState(message.wParam, 0);
        break;
    case platform::MessageKind::Exposed:
        lastPointer.windowChanged = true;
        break;
    case platform::MessageKind::Size:
        lastPointer.windowChanged = true;
        noteWindowedSize(message.windowWidth, message.windowHeight);
        resizeView(message.width, message.height);
        break;
    case platform::MessageKind::FullscreenToggle:
        lastPointer.windowChanged = true;
        toggleFullscreen();
        break;
    case platform::MessageKind::LeftButtonUp:
        clickLatch = true;
        // The cursor as it is when the release is handled, which after a blocking fade may be
        // elsewhere than where the button went up.
        clickPos = drawingPointFromPixels(platform::cursorPosition());
        break;
    default:
        break;
    }
}
