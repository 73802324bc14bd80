// Waiting in the browser. SDL's own wait there sleeps in 1 ms slices, which keeps the browser busy
// while the screen is still. Here the page is left alone until the browser reports a key, a
// button, a pointer move, a resize, a change of focus or full screen, or the timeout.
#include <SDL2/SDL.h>
#include <emscripten/emscripten.h>

#include "platform/event_wait.h"

namespace {

// clang-format off
// SDL's own handlers queue the event while it is dispatched; the wait ends only after that
// dispatch (a task of its own), so that the queue holds it by then.
EM_ASYNC_JS(void, awaitPageEvent, (int timeoutMilliseconds), {
    const kinds = ["keydown", "keyup", "mousedown", "mouseup", "mousemove", "wheel", "touchstart",
                   "touchend", "resize", "focus", "blur", "fullscreenchange", "visibilitychange",
                   "gamepadconnected", "gamepaddisconnected"];
    await new Promise(resolve => {
        let timer = 0;
        const end = () => {
            clearTimeout(timer);
            kinds.forEach(kind => window.removeEventListener(kind, onEvent, true));
            resolve();
        };
        const onEvent = () => setTimeout(end, 0);
        kinds.forEach(kind => window.addEventListener(kind, onEvent, true));
        if (timeoutMilliseconds >= 0) {
            timer = setTimeout(end, timeoutMilliseconds);
        }
    });
});
// clang-format on

bool eventWaits() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

} // namespace

namespace event_wait {

bool waitForEvent(int timeoutMilliseconds) {
    if (eventWaits()) {
        return true;
    }
    awaitPageEvent(timeoutMilliseconds);
    return eventWaits();
}

} // namespace event_wait
