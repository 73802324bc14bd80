#include <GL/gl.h>

#include "screens/screens.h"
#include "shell/shell.h"

std::uint32_t focusScreen = NoFocusScreen;
int focusIndex = 0;
bool focusShown = false;

namespace {

// The ring: this many units wide, just outside the button, in a colour no picture of the game
// uses for its buttons. In drawing units, so it grows with the view.
constexpr float RingWidth = 4.0f;
constexpr float RingGap = 2.0f;

bool navigationKeyPressed() {
    return KeyPressed[VK_UP] || KeyPressed[VK_DOWN] || KeyPressed[VK_LEFT] ||
           KeyPressed[VK_RIGHT] || KeyPressed[VK_TAB];
}

// Forward in reading order with Down, Right and Tab; back with Up, Left and Shift+Tab.
int focusStep() {
    int step = 0;
    if (KeyPressed[VK_DOWN] || KeyPressed[VK_RIGHT]) {
        step += 1;
    }
    if (KeyPressed[VK_UP] || KeyPressed[VK_LEFT]) {
        step -= 1;
    }
    if (KeyPressed[VK_TAB]) {
        step += KeyState[VK_SHIFT] ? -1 : 1;
    }
    return step;
}

} // namespace

layout::ClickRect focusedButton(const FocusButtons& buttons) {
    return buttons.button[focusIndex];
}

void pressButton(const ClickRect& button) {
    clickLatch = true;
    clickPos = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
}

void forgetFocus() {
    focusScreen = NoFocusScreen;
    focusShown = false;
}

bool focusRingShownOn(std::uint32_t screen) {
    return focusScreen == screen && focusShown;
}

bool confirmKeyPressed() {
    return KeyPressed[VK_RETURN] || KeyPressed[VK_SPACE];
}

bool takeMenuKeys(std::uint32_t screen, const FocusButtons& buttons) {
    if (focusScreen != screen || focusIndex >= buttons.count) {
        focusScreen = screen;
        focusIndex = buttons.first;
        focusShown = false;
    }
    if (mouseMoved) {
        // A mouse player sees the screens as they always were, and a later Enter does what it
        // does on the screen freshly shown, not what an unseen focus left behind.
        focusShown = false;
        focusIndex = buttons.first;
    }
    if (navigationKeyPressed()) {
        if (focusShown) {
            // Wraps around at both ends.
            focusIndex =
                ((focusIndex + focusStep()) % buttons.count + buttons.count) % buttons.count;
        }
        focusShown = true;
    }
    if (confirmKeyPressed() && (focusShown || !buttons.pressOnlyWithRing)) {
        // The click's own road: the screen takes a key press and a click with the same rules.
        pressButton(focusedButton(buttons));
    }
    return KeyPressed[VK_ESCAPE] != 0;
}

void drawFocusRing(const FocusButtons& buttons) {
    if (!focusShown || focusIndex >= buttons.count) {
        return;
    }
    const ClickRect around = buttons.ringAround[focusIndex];
    const bool aroundGiven = around.right > around.left;
    const ClickRect button = aroundGiven ? around : focusedButton(buttons);
    const float left = static_cast<float>(button.left) - RingGap - RingWidth;
    const float top = static_cast<float>(button.top) - RingGap - RingWidth;
    const float right = static_cast<float>(button.right) + RingGap + RingWidth;
    const float bottom = static_cast<float>(button.bottom) + RingGap + RingWidth;
    glLoadIdentity();
    glColor3f(1.0f, 0.84f, 0.0f);
    // No picture: the bars take the colour alone.
    drawPlainQuad({left, top, right, top + RingWidth});
    drawPlainQuad({left, bottom - RingWidth, right, bottom});
    drawPlainQuad({left, top + RingWidth, left + RingWidth, bottom - RingWidth});
    drawPlainQuad({right - RingWidth, top + RingWidth, right, bottom - RingWidth});
    glColor3f(1.0f, 1.0f, 1.0f);
}
