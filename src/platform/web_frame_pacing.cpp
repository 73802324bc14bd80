// Frames in the browser: after each buffer swap the game waits for the browser's next animation
// frame, which yields the page to the browser, paces the game to the display and stops it while
// the page is hidden.
#include <emscripten/emscripten.h>

#include "platform/frame_pacing.h"

namespace frame_pacing {

namespace {

bool enabled = true;
bool framePresented = false;

// clang-format off
EM_ASYNC_JS(void, awaitAnimationFrame, (), {
    await new Promise(resolve => requestAnimationFrame(resolve));
});

// Said once, on the browser's console, for whoever watches the page start (the tests, the bench).
EM_JS(void, reportFirstFrame, (), {
    console.log("tolvar: first frame");
});
// clang-format on

} // namespace

void setEnabled(bool enable) {
    enabled = enable;
}

void afterSwap() {
    if (!framePresented) {
        framePresented = true;
        reportFirstFrame();
    }
    if (enabled) {
        awaitAnimationFrame();
    }
}

} // namespace frame_pacing
