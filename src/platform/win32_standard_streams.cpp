#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/standard_streams.h"

namespace platform {

namespace {

// Something to write to: a console, a file or a pipe the game's output was sent to.
bool isUsable(DWORD stream) {
    const HANDLE handle = ::GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void writeToConsole(std::FILE* file, DWORD stream) {
    if (::_wfreopen(L"CONOUT$", L"w", file) == nullptr) {
        return;
    }
    // For whatever writes through the system's handle rather than the C stream.
    ::SetStdHandle(stream, reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file))));
}

} // namespace

// A windowed program gets no console of its own: started from one, it writes to that one. What
// it writes then appears among the console's own lines, as with any windowed program's output.
void openStandardStreams() {
    const bool outputUsable = isUsable(STD_OUTPUT_HANDLE);
    const bool errorUsable = isUsable(STD_ERROR_HANDLE);
    if ((outputUsable && errorUsable) || !::AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (!outputUsable) {
        writeToConsole(stdout, STD_OUTPUT_HANDLE);
    }
    if (!errorUsable) {
        writeToConsole(stderr, STD_ERROR_HANDLE);
        std::setvbuf(stderr, nullptr, _IONBF, 0); // each line there at once, as on Linux
    }
}

} // namespace platform
