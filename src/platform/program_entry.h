// The game's own start, which the system's entry point calls (posix_main.cpp, win32_main.cpp)
// with the program's arguments in UTF-8 on every system.
#pragma once

int runTolvar(int argc, char** argv);
