// The system's own wait for the next event, under waitMessage's slices (sdl_messages.cpp): SDL's
// on the desktop (sdl_event_wait.cpp), the browser's in the page (web_event_wait.cpp).
#pragma once

namespace event_wait {

// Blocks until an event waits in SDL's queue, without taking it, or until timeoutMilliseconds
// have passed: true when one waits.
bool waitForEvent(int timeoutMilliseconds);

} // namespace event_wait
