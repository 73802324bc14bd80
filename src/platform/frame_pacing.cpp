#include "platform/frame_pacing.h"

#include <SDL2/SDL.h>

#include <ctime>

#include "platform/sdl_video.h"
#include "platform/termination_signals.h"

namespace frame_pacing {

namespace {

bool enabled = true;
Pacer pacer;

void sleepTicks(std::uint64_t ticks, std::uint64_t frequency) {
    const std::uint64_t nanoseconds = ticks * 1'000'000'000ull / frequency;
    timespec rest = {static_cast<std::time_t>(nanoseconds / 1'000'000'000ull),
                     static_cast<long>(nanoseconds % 1'000'000'000ull)};
    while (nanosleep(&rest, &rest) != 0 && !termination_signals::requested()) {
    }
}

} // namespace

std::uint64_t Pacer::sleepAfterSwap(std::uint64_t now, std::uint64_t period) {
    if (previousSwap_ == 0 || now < previousSwap_) {
        previousSwap_ = now;
        return 0;
    }
    const std::uint64_t interval = now - previousSwap_;
    if (!pacing_) {
        const bool shortSwap = interval * 100 < period * ShortPeriodPercent;
        shortSwapsInRow_ = shortSwap ? shortSwapsInRow_ + 1 : 0;
        pacing_ = shortSwapsInRow_ >= ShortSwapsToPace;
    }
    if (!pacing_ || interval >= period) {
        previousSwap_ = now;
        return 0;
    }
    // The next period counts from when this one is due, so that a sleep's own lateness does not
    // add up frame after frame.
    previousSwap_ += period;
    return period - interval;
}

void setEnabled(bool enable) {
    enabled = enable;
    pacer = Pacer{};
}

void afterSwap() {
    if (!enabled) {
        return;
    }
    const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    const std::uint64_t period =
        frequency / static_cast<std::uint64_t>(sdl_video::refreshRate(sdl_video::window()));
    const std::uint64_t sleep = pacer.sleepAfterSwap(SDL_GetPerformanceCounter(), period);
    if (sleep > 0 && !termination_signals::requested()) {
        sleepTicks(sleep, frequency);
    }
}

} // namespace frame_pacing
