// Loaded ahead of SDL (LD_PRELOAD) into a program measured from outside: at its Nth buffer swap
// (TOLVAR_PROBE_SWAP, 1 when unset) it notes the monotonic time and the process's peak and
// current resident memory in TOLVAR_PROBE_OUT and ends the process at once. Nothing of the
// program itself changes.
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using SwapWindow = void (*)(void*);

int swapsSeen = 0;

long statusKilobytes(const char* status, const char* field) {
    const char* line = std::strstr(status, field);
    return line != nullptr ? std::strtol(line + std::strlen(field), nullptr, 10) : -1;
}

void recordAndEnd() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char status[8192] = {};
    const int statusFile = open("/proc/self/status", O_RDONLY);
    if (statusFile >= 0) {
        const ssize_t got = read(statusFile, status, sizeof status - 1);
        status[got > 0 ? got : 0] = '\0';
        close(statusFile);
    }
    char line[256];
    const int length =
        std::snprintf(line, sizeof line, "%lld %ld %ld\n",
                      static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                      statusKilobytes(status, "VmHWM:"), statusKilobytes(status, "VmRSS:"));
    const char* outPath = std::getenv("TOLVAR_PROBE_OUT");
    const int out = outPath != nullptr ? open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644) : 2;
    if (out >= 0 && length > 0) {
        [[maybe_unused]] const ssize_t written = write(out, line, static_cast<size_t>(length));
    }
    _exit(0);
}

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    static const SwapWindow realSwap =
        reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (realSwap != nullptr) {
        realSwap(window);
    }
    const char* wanted = std::getenv("TOLVAR_PROBE_SWAP");
    const int swapToRecord = wanted != nullptr ? std::atoi(wanted) : 1;
    if (++swapsSeen >= swapToRecord) {
        recordAndEnd();
    }
}
