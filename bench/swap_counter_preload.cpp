// Loaded ahead of SDL (LD_PRELOAD) into the real program: counts its buffer swaps and, on
// SIGUSR1, appends the count so far as a line to TOLVAR_SWAP_COUNT_OUT. Nothing of the program
// itself changes; frame_pacing_cpu.py reads the count before and after an interval.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

using SwapWindow = void (*)(void*);

std::atomic<long> swaps{0};

void appendCount(int) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%ld\n", swaps.load());
    const char* path = std::getenv("TOLVAR_SWAP_COUNT_OUT");
    const int out = path != nullptr ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
    if (out >= 0 && length > 0) {
        [[maybe_unused]] const ssize_t written = write(out, line, static_cast<size_t>(length));
        close(out);
    }
}

struct CountRequest {
    CountRequest() { signal(SIGUSR1, appendCount); }
} countRequest;

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    static const SwapWindow realSwap =
        reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (realSwap != nullptr) {
        realSwap(window);
    }
    swaps.fetch_add(1);
}
