#include "platform/frame_pacing.h"

#include <SDL2/SDL.h>

#include <cstdint>
#include <ctime>

#include "platform/sdl_video.h"
#include "platform/termination_signals.h"

namespace frame_pacing {

namespace {

constexpr int UnknownRefreshRate = 60;
// A swap that waits for the display cannot come back this much sooner than a refresh period
// after the one before, this many times in a row; a swap that does not wait soon does.
constexpr int ShortPeriodPercent = 75;
constexpr int ShortSwapsToPace = 10;

struct Pacer {
    bool enabled = true;
    bool pacing = false; // the swap has been seen not to wait; kept for the rest of the run
    int shortSwapsInRow = 0;
    std::uint64_t previousSwap = 0; // counter after the previous swap (and its sleep); 0: none
};
Pacer pacer;

int refreshRate() {
    SDL_Window* window = sdl_video::window();
    const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0 ||
        mode.refresh_rate <= 0) {
        return UnknownRefreshRate;
    }
    return mode.refresh_rate;
}

void sleepTicks(std::uint64_t ticks, std::uint64_t frequency) {
    const std::uint64_t nanoseconds = ticks * 1'000'000'000ull / frequency;
    timespec rest = {static_cast<std::time_t>(nanoseconds / 1'000'000'000ull),
                     static_cast<long>(nanoseconds % 1'000'000'000ull)};
    while (nanosleep(&rest, &rest) != 0 && !termination_signals::requested()) {
    }
}

} // namespace

void setEnabled(bool enabled) {
    pacer = Pacer{};
    pacer.enabled = enabled;
}

void afterSwap() {
    if (!pacer.enabled) {
        return;
    }
    const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    std::uint64_t now = SDL_GetPerformanceCounter();
    if (pacer.previousSwap != 0) {
        const std::uint64_t period = frequency / static_cast<std::uint64_t>(refreshRate());
        const std::uint64_t interval = now - pacer.previousSwap;
        if (!pacer.pacing) {
            const bool shortSwap = interval * 100 < period * ShortPeriodPercent;
            pacer.shortSwapsInRow = shortSwap ? pacer.shortSwapsInRow + 1 : 0;
            pacer.pacing = pacer.shortSwapsInRow >= ShortSwapsToPace;
        }
        if (pacer.pacing && interval < period && !termination_signals::requested()) {
            sleepTicks(period - interval, frequency);
            now = SDL_GetPerformanceCounter();
        }
    }
    pacer.previousSwap = now;
}

} // namespace frame_pacing
