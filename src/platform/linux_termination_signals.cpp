// Termination signals on Linux: SIGTERM, SIGINT and SIGHUP, and the message boxes' helper
// processes tied to the game's life.
#include "platform/termination_signals.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>

namespace termination_signals {

namespace {

constexpr int WatchedSignals[] = {SIGTERM, SIGINT, SIGHUP};

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

// Only async-signal-safe calls in the handler: the signal may land on any of the game's threads
// (SDL's, the audio thread's) while the main thread reads the flags recordRequest() raises.
void onTerminationSignal(int) {
    if (recordRequest()) {
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

} // namespace termination_signals
