// Termination requests on Windows: the console's control events. Windows calls the handler on a
// thread of its own, so it only raises flags the main thread reads, as a POSIX signal handler
// does; the game then ends through its Quit message and its own shutdown. A message box is
// SDL's own dialog in this process: there is no helper process to tie to the game.
//
// Logging off and shutting down reach the handler only in a process without windows. The game
// has one: Windows asks its window instead (WM_QUERYENDSESSION, WM_ENDSESSION), which SDL 2.26
// leaves to the default window procedure, so the session ends without a Quit and the process is
// ended with it. Nothing is lost by that: progress and settings are on disk from the moment they
// were recorded.
#include "platform/termination_signals.h"

#include <windows.h>

#include <cstdlib>

namespace termination_signals {

namespace {

// After the console is closed, or the user logs off, or the system shuts down, Windows ends the
// process as soon as the handler returns, and by force a few seconds later in any case (five
// for a closed console). The handler holds the process up to this long for the game's own
// shutdown.
constexpr DWORD ShutdownWaitMilliseconds = 4000;

// Set once the game's main function has returned and the runtime begins to end the process.
HANDLE shutdownFinished = nullptr;
bool watching = false;

void onExit() {
    if (shutdownFinished != nullptr) {
        SetEvent(shutdownFinished);
    }
}

void waitForShutdown() {
    if (shutdownFinished == nullptr) {
        Sleep(ShutdownWaitMilliseconds); // no event to be had: the bound alone
        return;
    }
    WaitForSingleObject(shutdownFinished, ShutdownWaitMilliseconds);
}

BOOL WINAPI onConsoleControl(DWORD event) {
    const bool endsWithHandler =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    if (!endsWithHandler && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE; // not ours: the next handler, or Windows' own
    }
    if (recordRequest()) {
        // The box's modal loop on the main thread cannot be left: the game ends at once, as the
        // POSIX side's _exit does, without running anything more in a process in that state.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    if (endsWithHandler) {
        waitForShutdown();
    }
    return TRUE;
}

} // namespace

void watch() {
    if (watching) {
        return;
    }
    watching = true;
    shutdownFinished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Registered after every static object of the game was made, so it runs once the main
    // function has returned and before those objects' destructors: the game's own shutdown (the
    // window closed; progress is on disk from the moment it was recorded) is over by then, and
    // what is left may be cut short by Windows.
    std::atexit(onExit);
    // A process started with Ctrl+C ignored (a new process group) keeps ignoring it: Windows does
    // not hand it to any handler then.
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

} // namespace termination_signals
