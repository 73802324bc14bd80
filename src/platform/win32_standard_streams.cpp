#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/standard_streams.h"

namespace platform {

namespace {

bool outputReachesSomeone = false;
UINT consoleOutputCodePage = 0; // the console's own, given back at exit; 0 while untouched

// Something to write to: a console, a file or a pipe the game's output was sent to.
bool isUsable(DWORD stream) {
    const HANDLE handle = ::GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool writeToConsole(std::FILE* file, DWORD stream) {
    if (::_wfreopen(L"CONOUT$", L"w", file) == nullptr) {
        return false;
    }
    // For whatever writes through the system's handle rather than the C stream.
    ::SetStdHandle(stream, reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file))));
    return true;
}

void restoreConsoleOutputCodePage() {
    ::SetConsoleOutputCP(consoleOutputCodePage);
}

// The game writes UTF-8 (paths such as C:\Spiele Jöns\Tolvar): the console shows it as such
// while the game runs, and has its own code page back when the game ends, for the next program.
void printInUtf8() {
    const UINT current = ::GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8 || !::SetConsoleOutputCP(CP_UTF8)) {
        return;
    }
    consoleOutputCodePage = current;
    std::atexit(restoreConsoleOutputCodePage);
}

} // namespace

// A windowed program gets no console of its own: started from one, it writes to that one. What
// it writes then appears among the console's own lines, as with any windowed program's output.
void openStandardStreams() {
    bool outputUsable = isUsable(STD_OUTPUT_HANDLE);
    const bool errorUsable = isUsable(STD_ERROR_HANDLE);
    if ((outputUsable && errorUsable) || !::AttachConsole(ATTACH_PARENT_PROCESS)) {
        outputReachesSomeone = outputUsable;
        return;
    }
    printInUtf8();
    if (!outputUsable) {
        outputUsable = writeToConsole(stdout, STD_OUTPUT_HANDLE);
    }
    if (!errorUsable && writeToConsole(stderr, STD_ERROR_HANDLE)) {
        std::setvbuf(stderr, nullptr, _IONBF, 0); // each line there at once, as on Linux
    }
    outputReachesSomeone = outputUsable;
}

bool standardOutputReachesSomeone() {
    return outputReachesSomeone;
}

} // namespace platform
