#include "platform/termination_signals.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace termination_signals {

namespace {

constexpr int WatchedSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only lock-free atomic flags and async-signal-safe calls in the handler. The flags are atomics,
// not volatile ones: the signal may land on any of the game's threads (SDL's, the audio
// thread's) while the main thread reads them.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> arrived{0};
std::atomic<int> boxShown{0};
int quitDelivered = 0; // the main thread's own

// Children are tied to the game only when the game's own main thread forks them: the parent-
// death signal follows the thread that forked, and a child forking again is none of ours.
pid_t gameProcess = 0;
pid_t gameThread = 0;
pid_t forkingProcess = 0;
pid_t forkingThread = 0;
bool watching = false;

pid_t currentThread() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

void onTerminationSignal(int) {
    arrived = 1;
    if (boxShown != 0) {
        ::_exit(0); // the child showing the box goes with the game (see tieChildToGame)
    }
}

void beforeFork() {
    forkingProcess = ::getpid();
    forkingThread = currentThread();
}

void tieChildToGame() {
    if (forkingProcess != gameProcess || forkingThread != gameThread) {
        return;
    }
    // Survives exec (of zenity, say). Dies at once if the game is already gone.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != gameProcess) {
        ::_exit(0);
    }
    // The game's handlers are not the child's: a signal to the whole group ends it plainly.
    for (const int signal : WatchedSignals) {
        struct sigaction action = {};
        ::sigaction(signal, nullptr, &action);
        if (action.sa_handler == onTerminationSignal) {
            action.sa_handler = SIG_DFL;
            ::sigaction(signal, &action, nullptr);
        }
    }
}

} // namespace

void watch() {
    if (watching) {
        return;
    }
    watching = true;
    gameProcess = ::getpid();
    gameThread = currentThread();
    ::pthread_atfork(beforeFork, nullptr, tieChildToGame);
    for (const int signal : WatchedSignals) {
        struct sigaction action = {};
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) {
            continue;
        }
        action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
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
