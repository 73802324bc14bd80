// Frames paced to the display where the buffer swap does not wait for it (software GL, many
// virtual machines, Xvfb): the rest of each refresh period is slept instead of drawing the same
// picture again at once. Where the swap waits, nothing is added.
#pragma once

#include <cstdint>

namespace frame_pacing {

// On unless switched off; the benchmarks switch it off to measure frames back to back.
void setEnabled(bool enabled);

// Called right after each buffer swap.
void afterSwap();

// The decision, in counter ticks. A swap that waits for the display cannot come back well
// within a refresh period of the previous one several times in a row; once swaps have been seen
// to, pacing stays on for the rest of the run.
class Pacer {
public:
    static constexpr int ShortPeriodPercent = 75;
    static constexpr int ShortSwapsToPace = 10;

    // How long to sleep after a swap that ended at `now`, given the refresh period.
    std::uint64_t sleepAfterSwap(std::uint64_t now, std::uint64_t period);
    bool pacing() const { return pacing_; }

private:
    bool pacing_ = false;
    int shortSwapsInRow_ = 0;
    std::uint64_t previousSwap_ = 0; // when the previous frame ended or was due; 0: none yet
};

} // namespace frame_pacing
