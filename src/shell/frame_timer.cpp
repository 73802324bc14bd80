#include "shell/shell.h"

FrameTimer frameTimer;

namespace {

// The longest step of play one update gives. The process may not run for seconds (stopped,
// suspended with the machine, in a debugger, swapped out): that time is not play time, and the
// falling block goes on from where it stood instead of landing unsteered in one step. A play
// frame that really takes longer than this runs slower than the clock; none does in normal play.
// Fades keep the whole interval: a stall still ends a fade in the pass after it.
constexpr double LongestStepSeconds = 0.1;

} // namespace

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
    const double longestStep = LongestStepSeconds * frameTimer.targetRate;
    frameTimer.elapsedFrames = static_cast<float>(frames);
    frameTimer.speedFactor = static_cast<float>(frames < longestStep ? frames : longestStep);
    frameTimer.measuredRate = static_cast<float>(frameTimer.targetRate / frames);
    // No tick elapsed (or the counter went back): count one frame rather than none, so that every
    // fade pass and every fall still moves on. Written as a negation so that NaN lands here too.
    if (!(frames > 0.0)) {
        frameTimer.elapsedFrames = 1.0f;
        frameTimer.speedFactor = 1.0f;
    }
    frameTimer.lastCount = frameTimer.currentCount;
}

void restartFrameTimer() {
    frameTimer.lastCount = platform::performanceCounter();
}
