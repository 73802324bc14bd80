// What both systems share: the flags the system's handler raises, on whatever thread it runs,
// and the main thread reads. Lock-free atomics only, so that a POSIX signal handler may touch them.
#include "platform/termination_signals.h"

#include <atomic>

namespace termination_signals {

namespace {

static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> arrived{0};
std::atomic<int> boxShown{0};
int quitDelivered = 0; // the main thread's own

} // namespace

bool recordRequest() {
    arrived = 1;
    return boxShown != 0;
}

bool requested() {
    return arrived != 0;
}

bool takeQuit() {
    if (arrived == 0 || quitDelivered != 0) {
        return false;
    }
    quitDelivered = 1;
    return true;
}

bool enterBox() {
    boxShown = 1;
    if (arrived != 0) {
        boxShown = 0;
        return false;
    }
    return true;
}

void leaveBox() {
    boxShown = 0;
}

} // namespace termination_signals
