// A one-note module of a chosen length, for tests of a module player.
#include "it_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double MinSeconds = 0.01;
constexpr double MaxSeconds = 480.0;
constexpr double MiddleCHz = 261.6255653005986;
constexpr int FramesPerCycle = 64;

// How long `rows` rows last: a tick is 2.5 / tempo seconds, a row `speed` ticks.
double rowsSeconds(int rows, int speed, int tempo) {
    return 2.5 * rows * speed / tempo;
}

struct Timing {
    int rows = 1;
    int speed = 1;
    int tempo = 125;
};

// The row count, speed and tempo whose length comes nearest to `seconds`.
Timing nearestTiming(double seconds) {
    Timing best;
    double bestError = 1e300;
    for (int rows = 1; rows <= ItMaxRows; ++rows) {
        for (int speed = 1; speed <= 255; ++speed) {
            const double exactTempo = 2.5 * rows * speed / seconds;
            const int tempo = std::clamp(static_cast<int>(std::lround(exactTempo)), 32, 255);
            const double error = std::fabs(rowsSeconds(rows, speed, tempo) - seconds);
            if (error < bestError) {
                bestError = error;
                best = Timing{rows, speed, tempo};
            }
        }
    }
    return best;
}

ItSample sineCycleSample() {
    ItSample sample;
    sample.name = "sine";
    sample.rate = static_cast<std::uint32_t>(std::lround(MiddleCHz * FramesPerCycle));
    for (int i = 0; i < FramesPerCycle; ++i) {
        const double phase = 2.0 * std::numbers::pi * i / FramesPerCycle;
        const double value = 0.85 * std::sin(phase) + 0.1 * std::sin(2.0 * phase);
        sample.frames.push_back(static_cast<std::int16_t>(std::lround(value * 32767.0)));
    }
    sample.loop = true;
    sample.loopStart = 0;
    sample.loopEnd = FramesPerCycle;
    return sample;
}

} // namespace

ItModule makeToneModule(double seconds) {
    if (!(seconds >= MinSeconds)) { // NaN lands here too
        seconds = MinSeconds;
    }
    seconds = std::min(seconds, MaxSeconds);
    const Timing timing = nearestTiming(seconds);

    ItModule module;
    module.title = "tone";
    module.channelCount = 1;
    module.initialSpeed = static_cast<std::uint8_t>(timing.speed);
    module.initialTempo = static_cast<std::uint8_t>(timing.tempo);
    module.samples.push_back(sineCycleSample());

    // Players expect at least 32 rows; a shorter tone breaks out of the pattern early.
    constexpr int ShortestPattern = 32;
    ItPattern pattern = makeItPattern(std::max(timing.rows, ShortestPattern), 1);
    ItCell& first = itCellAt(pattern, 0, 0);
    first.note = ItMiddleC;
    first.sample = 1;
    first.volume = 48;
    if (timing.rows < pattern.rows) {
        ItCell& last = itCellAt(pattern, timing.rows - 1, 0);
        last.effect = itEffect('C');
        last.parameter = 0;
    }
    module.patterns.push_back(std::move(pattern));
    module.orders.push_back(0);
    return module;
}
