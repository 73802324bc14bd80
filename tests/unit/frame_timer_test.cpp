#include <gtest/gtest.h>

#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    void startAt(std::int64_t frequency) {
        scripted::script().frequency = frequency;
        scripted::script().counter = 5'000'000;
        startFrameTimer(30.0f);
    }
    void advance(std::int64_t ticks) { scripted::script().counter += ticks; }
};

TEST_F(FrameTimerTest, TwoUpdatesInOneTickCountOneFrame) {
    startAt(10'000'000);
    updateFrameTimer();
    updateFrameTimer();
    EXPECT_EQ(frameTimer.speedFactor, 1.0f);
}

TEST_F(FrameTimerTest, ACounterGoingBackCountsOneFrame) {
    startAt(10'000'000);
    advance(-500);
    updateFrameTimer();
    EXPECT_EQ(frameTimer.speedFactor, 1.0f);
}

TEST_F(FrameTimerTest, HalfAFrameAtTenMegahertz) {
    startAt(10'000'000);
    advance(166'667);
    updateFrameTimer();
    EXPECT_NEAR(frameTimer.speedFactor, 0.500001, 1e-6);
    EXPECT_NEAR(frameTimer.measuredRate, 59.99988, 1e-3);
}

TEST_F(FrameTimerTest, EachUpdateCoversOnlyItsOwnInterval) {
    startAt(3'000'000);
    advance(100'000);
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 1.0f);
    advance(50'000);
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 0.5f);
}

// A stall (the process stopped, the machine suspended) or a long hold counts as 0.1 s of play at
// most; the fades' elapsed frames and the measured rate still tell the real interval, and the
// next update counts from the stall's end, so nothing of it is charged later.
TEST_F(FrameTimerTest, AStepIsAtMostATenthOfASecond) {
    startAt(3'000'000);
    updateFrameTimer();
    advance(9'000'000); // the three-second logo hold
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 3.0f);
    EXPECT_NEAR(frameTimer.elapsedFrames, 90.0, 1e-4);
    EXPECT_NEAR(frameTimer.measuredRate, 1.0 / 3.0, 1e-6);
    advance(300'000); // exactly the longest step
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 3.0f);
    advance(30'000'000); // ten seconds stopped
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 3.0f);
    advance(100'000);
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 1.0f);
    EXPECT_FLOAT_EQ(frameTimer.elapsedFrames, 1.0f);
    advance(-500); // the counter going back counts one frame in both
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 1.0f);
    EXPECT_FLOAT_EQ(frameTimer.elapsedFrames, 1.0f);

    // At another target rate the bound is still a tenth of a second.
    scripted::script().counter = 5'000'000;
    startFrameTimer(60.0f);
    advance(3'000'000);
    updateFrameTimer();
    EXPECT_FLOAT_EQ(frameTimer.speedFactor, 6.0f);
}

} // namespace
