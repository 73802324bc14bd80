#include <gtest/gtest.h>

#include <cstdint>

#include "platform/frame_pacing.h"

namespace {

using frame_pacing::Pacer;

constexpr std::uint64_t Period = 1000; // ticks of one refresh

// Swaps ending `busy` ticks after the previous frame ended (or was due), the pacer's sleeps
// included; returns the sleeps asked for.
std::uint64_t run(Pacer& pacer, std::uint64_t& now, std::uint64_t busy, int frames) {
    std::uint64_t slept = 0;
    for (int frame = 0; frame < frames; ++frame) {
        now += busy;
        const std::uint64_t sleep = pacer.sleepAfterSwap(now, Period);
        slept += sleep;
        now += sleep;
    }
    return slept;
}

TEST(FramePacingTest, ASwapThatWaitsForTheDisplayIsNeverSleptAfter) {
    Pacer pacer;
    std::uint64_t now = 1;
    // Swaps come back a period apart, give or take the scheduler, and a stalled frame now and
    // then lets two come back quickly, as a driver's queued buffers do.
    const std::uint64_t jitter[] = {1000, 990, 1010, 2000, 100, 900, 1000, 1005, 995, 3000, 50, 50};
    for (int round = 0; round < 100; ++round) {
        for (const std::uint64_t busy : jitter) {
            EXPECT_EQ(run(pacer, now, busy, 1), 0u);
        }
    }
    EXPECT_FALSE(pacer.pacing());
}

TEST(FramePacingTest, ASwapThatDoesNotWaitIsPacedToTheRefreshPeriod) {
    Pacer pacer;
    std::uint64_t now = 1;
    run(pacer, now, 100, 1); // the first swap: nothing to compare with yet
    EXPECT_EQ(run(pacer, now, 100, Pacer::ShortSwapsToPace - 1), 0u); // seen, not yet believed
    EXPECT_FALSE(pacer.pacing());
    EXPECT_EQ(run(pacer, now, 100, 1), Period - 100);
    EXPECT_TRUE(pacer.pacing());
    const std::uint64_t start = now;
    run(pacer, now, 100, 60);
    EXPECT_EQ(now - start, 60 * Period); // one frame a period, the slept part included
    // A frame slower than the period is not slept after, and the next ones are paced again.
    EXPECT_EQ(run(pacer, now, 1500, 1), 0u);
    EXPECT_EQ(run(pacer, now, 300, 1), Period - 300);
}

} // namespace
