// The synthesizers: pitch as the player hears it, loops that close, samples that end quietly.
#include "drum_synth.h"
#include "module_render.h"
#include "synth_basics.h"
#include "tone_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A module holding one note of `sample` for about two seconds.
std::vector<float> playNote(const ItSample& sample, int note) {
    ItModule module = makeToneModule(2.0);
    module.samples = {sample};
    ItCell& first = itCellAt(module.patterns[0], 0, 0);
    first.note = note;
    first.volume = 64;
    return renderSong(writeItModule(module)).frames;
}

int peakFrame(const ItSample& sample) {
    int peak = 0;
    for (std::int16_t frame : sample.frames) {
        peak = std::max(peak, std::abs(static_cast<int>(frame)));
    }
    return peak;
}

TEST(ToneSynth, TonesSoundAtTheNotePlayed) {
    const ItSample held = sustainedTone({.name = "sine", .harmonics = {1.0}, .baseNote = 60});
    EXPECT_NEAR(crossingFrequency(playNote(held, 69), 8000, 16000), 440.0, 2.0);
    EXPECT_NEAR(crossingFrequency(playNote(held, 48), 8000, 16000), 130.81, 1.0);

    const ItSample bass =
        sustainedTone({.name = "low sine", .harmonics = {1.0}, .baseNote = 36, .highestNote = 50});
    EXPECT_NEAR(crossingFrequency(playNote(bass, 45), 8000, 24000), 110.0, 1.0);

    const ItSample pluck = pluckedTone({.name = "plucked sine",
                                        .harmonics = {1.0},
                                        .baseNote = 72,
                                        .seconds = 1.0,
                                        .decaySeconds = 0.5});
    EXPECT_NEAR(crossingFrequency(playNote(pluck, 81), 1000, 6000), 880.0, 5.0);
}

TEST(ToneSynth, DetunedLoopsCloseWithoutAStep) {
    const ItSample pad = sustainedTone({.name = "pad",
                                        .harmonics = sawHarmonics(20, 1.5),
                                        .voices = 3,
                                        .detuneCents = 14.0,
                                        .attackSeconds = 0.3,
                                        .decaySeconds = 0.2,
                                        .sustainLevel = 0.8});
    ASSERT_TRUE(pad.loop);
    ASSERT_LT(pad.loopStart, pad.loopEnd);
    ASSERT_EQ(pad.loopEnd, pad.frames.size());
    EXPECT_GT(pad.loopEnd - pad.loopStart, pad.rate / 2) << "long enough for the voices to beat";
    // Across the seam the wave moves no more than it does between neighbouring frames inside.
    int largestStep = 0;
    for (std::size_t i = pad.loopStart + 1; i < pad.loopEnd; ++i) {
        largestStep = std::max(largestStep, std::abs(pad.frames[i] - pad.frames[i - 1]));
    }
    EXPECT_LE(std::abs(pad.frames[pad.loopStart] - pad.frames[pad.loopEnd - 1]), largestStep);
    EXPECT_NEAR(peakFrame(pad), 0.9 * 32767, 2);
}

TEST(DrumSynth, EverySampleStrikesAndDiesAway) {
    const std::vector<ItSample> drums{
        kickDrum({}),     snareDrum({}), snareDrum({.clap = true}),  hiHat("hat", {}),
        crashCymbal(1.5), rimClick(),    tomDrum(180.0, 100.0, 0.2), anvilStrike(1100.0, 0.4)};
    for (const ItSample& drum : drums) {
        ASSERT_GT(drum.frames.size(), 1000u) << drum.name;
        EXPECT_FALSE(drum.loop) << drum.name;
        EXPECT_EQ(drum.rate, 32000u) << drum.name;
        EXPECT_NEAR(peakFrame(drum), 0.9 * 32767, 2) << drum.name;
        EXPECT_EQ(drum.frames.back(), 0) << drum.name << " ends on a step";
        int earlyPeak = 0;
        for (std::size_t i = 0; i < drum.frames.size() / 10; ++i) {
            earlyPeak = std::max(earlyPeak, std::abs(static_cast<int>(drum.frames[i])));
        }
        EXPECT_GT(earlyPeak, 16000) << drum.name << " is loudest at the strike";
    }
}

TEST(SynthBasics, NoiseRepeatsFromItsSeedAndStaysInRange) {
    NoiseSource a;
    NoiseSource b;
    double lowest = 1.0;
    double highest = -1.0;
    for (int i = 0; i < 10000; ++i) {
        const double value = a.next();
        EXPECT_EQ(value, b.next());
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_GE(lowest, -1.0);
    EXPECT_LT(highest, 1.0);
    EXPECT_LT(lowest, -0.99);
    EXPECT_GT(highest, 0.99);
}

} // namespace
