#include "shell/shell.h"

FrameTimer frameTimer;

void startFrameTimer(float targetRate) {
    frameTimer.targetRate = targetRate;
    // The counter is read before its frequency is asked for.
    frameTimer.lastCount = platform::performanceCounter();
    frameTimer.frequency = platform::performanceFrequency();
}

void updateFrameTimer() {
    frameTimer.currentCount = platform::performanceCounter();
    const std::int64_t elapsed = frameTimer.currentCount - frameTimer.lastCount;
    const double ticksPerFrame = static_cast<double>(frameTimer.frequency) / frameTimer.targetRate;
    const double frames = static_cast<double>(elapsed) / ticksPerFrame;
    frameTimer.speedFactor = static_cast<float>(frames);
    frameTimer.measuredRate = static_cast<float>(frameTimer.targetRate / frames);
    // No tick elapsed (or the counter went back): count one frame rather than none, so that every
    // fade pass and every fall still moves on. Written as a negation so that NaN lands here too.
    if (!(frames > 0.0)) {
        frameTimer.speedFactor = 1.0f;
    }
    frameTimer.lastCount = frameTimer.currentCount;
}
