// SIGTERM, SIGINT and SIGHUP as the platform handles them, and the game's helper processes
// (message boxes run in a child) tied to the game's life.
#pragma once

namespace termination_signals {

// Installs the handlers (a signal ignored at start, as under nohup, stays ignored) and ties every
// child the game forks to the game: it is killed when the game ends, even by SIGKILL.
void watch();

bool requested(); // a termination signal has arrived

// True once per arrived signal: the signal as the game's Quit message.
bool takeQuit();

// Around a modal box: while one is shown a signal ends the game at once, since the box's wait
// cannot be left otherwise. enterBox is false when a signal has already arrived: then no box.
bool enterBox();
void leaveBox();

} // namespace termination_signals
