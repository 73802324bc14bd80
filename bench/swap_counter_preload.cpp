// Loaded ahead of SDL (LD_PRELOAD) into the real program: counts its buffer swaps and notes when
// each one ended. Nothing of the program itself changes.
//
// On SIGUSR1 it appends the count so far as a line to TOLVAR_SWAP_COUNT_OUT; frame_pacing_cpu.py
// reads the count before and after an interval. On SIGUSR2 it appends a line
// "<monotonic ns> <picture hash>" for every swap since the last SIGUSR2 to TOLVAR_SWAP_TIMES_OUT
// (the last SwapTimes swaps at most), and then "# <count so far>". With TOLVAR_SWAP_WATCH="X Y
// WIDTH HEIGHT" (window pixels, from the top-left corner) the hash is one of that rectangle of the
// frame being presented, read back before the swap, so that the frame that first shows a change can
// be told; without it, 0.
#include <GL/gl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using SwapWindow = void (*)(void*);
using GetDrawableSize = void (*)(void*, int*, int*);
using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);

struct Swap {
    std::int64_t endedNs;
    std::uint64_t pictureHash;
};

constexpr std::size_t SwapTimes = 1 << 15; // nine minutes at 60 frames a second
constexpr int LargestWatch = 2048 * 1536;

std::atomic<long> swaps{0};
std::array<Swap, SwapTimes> swapTimes;
long swapsWritten = 0;

struct Watch {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

Watch watchFromEnvironment() {
    Watch watch;
    const char* text = std::getenv("TOLVAR_SWAP_WATCH");
    if (text == nullptr ||
        std::sscanf(text, "%d %d %d %d", &watch.x, &watch.y, &watch.width, &watch.height) != 4 ||
        watch.width <= 0 || watch.height <= 0 || watch.width * watch.height > LargestWatch) {
        return Watch{};
    }
    return watch;
}

std::array<std::uint32_t, LargestWatch> watchedPixels;

// FNV-1a over the watched rectangle of the back buffer.
std::uint64_t pictureHash(void* window, const Watch& watch) {
    static const auto drawableSize =
        reinterpret_cast<GetDrawableSize>(dlsym(RTLD_DEFAULT, "SDL_GL_GetDrawableSize"));
    static const auto readPixels =
        reinterpret_cast<ReadPixels>(dlsym(RTLD_DEFAULT, "glReadPixels"));
    if (drawableSize == nullptr || readPixels == nullptr) {
        return 0;
    }
    int width = 0;
    int height = 0;
    drawableSize(window, &width, &height);
    readPixels(watch.x, height - watch.y - watch.height, watch.width, watch.height, GL_RGBA,
               GL_UNSIGNED_BYTE, watchedPixels.data());
    std::uint64_t hash = 14695981039346656037ull;
    for (int i = 0; i < watch.width * watch.height; ++i) {
        hash = (hash ^ watchedPixels[static_cast<std::size_t>(i)]) * 1099511628211ull;
    }
    return hash;
}

void appendLine(const char* pathVariable, const char* line, int length) {
    const char* path = std::getenv(pathVariable);
    const int out = path != nullptr ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
    if (out >= 0 && length > 0) {
        [[maybe_unused]] const ssize_t written = write(out, line, static_cast<size_t>(length));
        close(out);
    }
}

void appendCount(int) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%ld\n", swaps.load());
    appendLine("TOLVAR_SWAP_COUNT_OUT", line, length);
}

void appendTimes(int) {
    const long total = swaps.load();
    const long first = total - swapsWritten > static_cast<long>(SwapTimes)
                           ? total - static_cast<long>(SwapTimes)
                           : swapsWritten;
    const char* path = std::getenv("TOLVAR_SWAP_TIMES_OUT");
    const int out = path != nullptr ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
    for (long swap = first; out >= 0 && swap < total; ++swap) {
        const Swap& seen = swapTimes[static_cast<std::size_t>(swap) % SwapTimes];
        char line[64];
        const int length =
            std::snprintf(line, sizeof line, "%lld %llx\n", static_cast<long long>(seen.endedNs),
                          static_cast<unsigned long long>(seen.pictureHash));
        [[maybe_unused]] const ssize_t written = write(out, line, static_cast<size_t>(length));
    }
    if (out >= 0) {
        char end[32];
        const int length = std::snprintf(end, sizeof end, "# %ld\n", total);
        [[maybe_unused]] const ssize_t written = write(out, end, static_cast<size_t>(length));
        close(out);
    }
    swapsWritten = total;
}

struct Requests {
    Requests() {
        signal(SIGUSR1, appendCount);
        signal(SIGUSR2, appendTimes);
    }
} requests;

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    static const SwapWindow realSwap =
        reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static const Watch watch = watchFromEnvironment();
    const std::uint64_t hash = watch.width > 0 ? pictureHash(window, watch) : 0;
    if (realSwap != nullptr) {
        realSwap(window);
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long swap = swaps.load();
    swapTimes[static_cast<std::size_t>(swap) % SwapTimes] = {
        static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec, hash};
    swaps.store(swap + 1);
}
