#include <SDL2/SDL.h>

#include "platform/event_wait.h"

namespace event_wait {

// The desktop's own wait, which costs nothing while nothing happens.
bool waitForEvent(int timeoutMilliseconds) {
    return SDL_WaitEventTimeout(nullptr, timeoutMilliseconds) == 1;
}

} // namespace event_wait
