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

TEST_F(FrameTimerTest, AThreeSecondHoldIsNinetyFramesUnclamped) {
    startAt(3'000'000);
    updateFrameTimer();
    advance(9'000'000);
    updateFrameTimer();
    EXPECT_NEAR(frameTimer.speedFactor, 90.0, 1e-4);
}

} // namespace
