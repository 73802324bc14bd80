// Termination requests as the system sends them, and what they may leave behind.
// Linux (linux_termination_signals.cpp): SIGTERM, SIGINT and SIGHUP; the game's helper processes
// (message boxes run in a child) are tied to the game's life.
// Windows (win32_termination_signals.cpp): Ctrl+C, Ctrl+Break and the console closed, each as the
// console's control event. Log-off and shutdown send no such event to a program with windows, so
// nothing is caught then: progress and settings are written when they change. Boxes run in the
// game's own process.
#pragma once

namespace termination_signals {

// Starts watching (a request ignored at start, as under nohup or a Windows process group started
// with Ctrl+C disabled, stays ignored). On Linux every child the game forks is tied to the game:
// it is killed when the game ends, even by SIGKILL.
void watch();

bool requested(); // a termination request has arrived

// True once per arrived request: the request as the game's Quit message.
bool takeQuit();

// Around a modal box: while one is shown a request ends the game at once, since the box's wait
// cannot be left otherwise. enterBox is false when a request has already arrived: then no box.
bool enterBox();
void leaveBox();

// For the system's handler, on any thread, async-signal-safe (termination_signals.cpp): records
// the request. True while a box is shown: then the handler ends the game at once.
bool recordRequest();

} // namespace termination_signals
