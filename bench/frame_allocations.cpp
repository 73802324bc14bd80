// Heap allocations per frame in steady state, for every kind of screen: the game's own (operator
// new) and everything in the process (malloc, the GL driver and SDL included), beside the floor
// of one full-screen textured quad per frame. The first frames are left out: the software
// renderer sets up its caches while they run.
#include <execinfo.h>
#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "assets/assets.h"
#include "game/game.h"
#include "offscreen_game.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/new_counter.h"

// glibc's own allocator, under the names it keeps for programs that replace malloc.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* memory);
}

namespace {

// Operator new is counted by new_counter, malloc here.
std::atomic<bool> countingMalloc{false};
std::atomic<long> mallocCalls{0};

// TOLVAR_BENCH_ALLOCATION_TRACE=N prints where the first N counted allocations of each kind
// came from, to find who allocates.
std::atomic<long> tracesLeft[2] = {0, 0};
thread_local bool tracing = false;

void traceAllocation(int kind, const char* what) {
    if (tracing || tracesLeft[kind].load(std::memory_order_relaxed) <= 0) {
        return;
    }
    tracesLeft[kind].fetch_sub(1, std::memory_order_relaxed);
    tracing = true;
    void* callers[24];
    const int depth = backtrace(callers, 24);
    [[maybe_unused]] const ssize_t written = write(2, what, std::strlen(what));
    backtrace_symbols_fd(callers, depth, 2);
    tracing = false;
}

void countMalloc() {
    if (countingMalloc.load(std::memory_order_relaxed)) {
        mallocCalls.fetch_add(1, std::memory_order_relaxed);
        traceAllocation(1, "---- malloc\n");
    }
}

// Every operator new counts; the first ones are traced where asked.
bool traceNew() {
    traceAllocation(0, "---- operator new\n");
    return true;
}

} // namespace

// Every allocation in the process passes here, the libraries' included.
extern "C" {
void* malloc(std::size_t size) noexcept {
    countMalloc();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    countMalloc();
    return __libc_calloc(count, size);
}
void* realloc(void* memory, std::size_t size) noexcept {
    countMalloc();
    return __libc_realloc(memory, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
    countMalloc();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    countMalloc();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** memory, std::size_t alignment, std::size_t size) noexcept {
    countMalloc();
    void* allocated = __libc_memalign(alignment, size);
    if (allocated == nullptr) {
        return ENOMEM;
    }
    *memory = allocated;
    return 0;
}
void free(void* memory) noexcept {
    __libc_free(memory);
}
}

namespace {

constexpr int WarmUpFrames = 200;
constexpr int MeasuredFrames = 500;

enum class FrameKind { Screen, Play, TexturedQuad };

struct Measured {
    const char* name;
    FrameKind kind;
    std::uint32_t state; // the game state of a screen; the level of a play frame
};

const Measured measuredFrames[] = {
    {"textured_quad", FrameKind::TexturedQuad, 0},
    {"main_menu", FrameKind::Screen, MainMenu},
    {"play_menu", FrameKind::Screen, PlayMenu},
    {"help", FrameKind::Screen, Help},
    {"game_over", FrameKind::Screen, GameOver},
    {"credits", FrameKind::Screen, Credits},
    {"level_select", FrameKind::Screen, LevelSelect},
    {"level_1_play", FrameKind::Play, 1},
    {"level_2_play", FrameKind::Play, 2},
    {"level_3_play", FrameKind::Play, 3},
    {"level_4_play", FrameKind::Play, 4},
    {"level_5_play", FrameKind::Play, 5},
};

// One pass of the main loop that runs a frame, as the game makes it.
void runFrame(const Measured& measured) {
    switch (measured.kind) {
    case FrameKind::TexturedQuad:
        bench::drawTexturedQuadFrame();
        return;
    case FrameKind::Play:
        if (bench::levelRunOut(static_cast<int>(measured.state))) {
            bench::prepareLevelInPlay(static_cast<int>(measured.state));
        }
        bench::steerToLighterSide();
        break;
    case FrameKind::Screen:
        break;
    }
    updateFrameTimer();
    if (measured.kind == FrameKind::Play) {
        frameTimer.speedFactor = 1.0f; // blocks land every few dozen frames
    }
    FrameDispatcher();
    clickLatch = false;
    if (platform::isSongFinished(musicHandle)) {
        platform::playSong(musicHandle);
    }
}

void enter(const Measured& measured) {
    std::memset(KeyState, 0, sizeof KeyState);
    fadePending = false;
    if (measured.kind == FrameKind::Play) {
        bench::prepareLevelInPlay(static_cast<int>(measured.state));
        if (fontPixelHeight != SmallFontHeight) {
            buildSmallFont();
        }
    } else if (measured.kind == FrameKind::Screen) {
        GameState = measured.state;
        if (measured.state == LevelSelect) {
            std::strcpy(Progress, "5"); // every label and button of the screen shown
            buildLargeFont();
        }
    }
}

// With names given, only those kinds of frame are measured.
bool wanted(const Measured& measured, int argc, char** argv) {
    if (argc < 2) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], measured.name) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (const char* traces = std::getenv("TOLVAR_BENCH_ALLOCATION_TRACE")) {
        tracesLeft[0] = std::atol(traces);
        tracesLeft[1] = std::atol(traces);
    }
    if (!bench::openOffscreenGame()) {
        return 1;
    }
    std::printf("# renderer: %s\n", bench::rendererName());
    std::printf("# frame kind, frames, operator new per frame, malloc per frame\n");
    for (const Measured& measured : measuredFrames) {
        if (!wanted(measured, argc, argv)) {
            continue;
        }
        enter(measured);
        for (int frame = 0; frame < WarmUpFrames; ++frame) {
            runFrame(measured);
        }
        mallocCalls = 0;
        countingMalloc = true;
        new_counter::start(traceNew);
        for (int frame = 0; frame < MeasuredFrames; ++frame) {
            runFrame(measured);
        }
        const long newCalls = new_counter::stop();
        countingMalloc = false;
        std::printf("allocations %s %d %.3f %.3f\n", measured.name, MeasuredFrames,
                    static_cast<double>(newCalls) / MeasuredFrames,
                    static_cast<double>(mallocCalls.load()) / MeasuredFrames);
    }
    bench::closeOffscreenGame();
    return 0;
}
