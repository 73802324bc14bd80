#include <atomic>

#include "platform/files.h"
#include "platform/lock_waits.h"

namespace platform {

namespace {

std::atomic<void (*)()> lockWaitWatcher{nullptr}; // saves may run off the game's thread in tests

} // namespace

void watchLockWaits(void (*beginsToWait)()) {
    lockWaitWatcher.store(beginsToWait);
}

void tellLockWaitBegins() {
    if (void (*const watcher)() = lockWaitWatcher.load()) {
        watcher();
    }
}

} // namespace platform
