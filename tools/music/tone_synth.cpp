#include "tone_synth.h"

#include "synth_basics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double HighestPartialHz = 15000.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr double TargetLoopRate = 40000.0;
constexpr double DetunedLoopSeconds = 1.0;
constexpr std::size_t TableSize = 4096;

int usableHarmonics(std::size_t available, int highestNote, double stretch) {
    const double top = noteHz(highestNote) * stretch;
    const int fitting = static_cast<int>(HighestPartialHz / top);
    return std::max(1, std::min(static_cast<int>(available), fitting));
}

// One cycle of the harmonic sum, for reading at any phase.
std::vector<double> cycleTable(const std::vector<double>& harmonics, int count) {
    std::vector<double> table(TableSize + 1);
    for (std::size_t i = 0; i <= TableSize; ++i) {
        const double phase = TwoPi * static_cast<double>(i) / TableSize;
        double value = 0.0;
        for (int h = 1; h <= count; ++h) {
            value += harmonics[static_cast<std::size_t>(h - 1)] * std::sin(h * phase);
        }
        table[i] = value;
    }
    return table;
}

double readTable(const std::vector<double>& table, double cycle) {
    const double position = cycle * TableSize;
    const auto index = static_cast<std::size_t>(position);
    const double fraction = position - static_cast<double>(index);
    return table[index] + fraction * (table[index + 1] - table[index]);
}

void fadeTail(std::vector<double>& signal, double rate) {
    fadeOutTail(signal, static_cast<std::size_t>(0.02 * rate));
}

} // namespace

std::vector<double> sawHarmonics(int count, double rolloff) {
    std::vector<double> amplitudes;
    for (int h = 1; h <= count; ++h) {
        amplitudes.push_back(1.0 / std::pow(h, rolloff));
    }
    return amplitudes;
}

std::vector<double> squareHarmonics(int count) {
    std::vector<double> amplitudes;
    for (int h = 1; h <= count; ++h) {
        amplitudes.push_back(h % 2 == 1 ? 1.0 / h : 0.0);
    }
    return amplitudes;
}

std::vector<double> pulseHarmonics(int count, double duty) {
    std::vector<double> amplitudes;
    for (int h = 1; h <= count; ++h) {
        amplitudes.push_back(std::sin(std::numbers::pi * h * duty) / h);
    }
    return amplitudes;
}

ItSample sustainedTone(const SustainedTone& tone) {
    const double baseHz = noteHz(tone.baseNote);
    // Whole frames per cycle, so that the loop closes exactly.
    const auto framesPerCycle = static_cast<std::int64_t>(std::lround(TargetLoopRate / baseHz));
    const double rate = static_cast<double>(framesPerCycle) * baseHz;

    // Detuned voices need a long loop: a voice runs cyclesPerLoop + offset whole cycles in it.
    const std::int64_t cyclesPerLoop =
        tone.voices > 1 ? std::max<std::int64_t>(1, std::llround(baseHz * DetunedLoopSeconds)) : 1;
    const std::int64_t loopFrames = framesPerCycle * cyclesPerLoop;
    const double halfSpread = std::exp2(tone.detuneCents / 2400.0) - 1.0;
    const std::int64_t maxOffset =
        tone.voices > 1 ? std::max<std::int64_t>(1, std::llround(cyclesPerLoop * halfSpread)) : 0;
    std::vector<std::int64_t> voiceCycles;
    for (int v = 0; v < tone.voices; ++v) {
        const std::int64_t offset =
            tone.voices > 1 ? -maxOffset + (2 * maxOffset * v) / (tone.voices - 1) : 0;
        voiceCycles.push_back(cyclesPerLoop + offset);
    }

    const int count = usableHarmonics(tone.harmonics.size(), tone.highestNote, 1.0 + halfSpread);
    const std::vector<double> table = cycleTable(tone.harmonics, count);

    const auto attackFrames = static_cast<std::int64_t>(std::ceil(tone.attackSeconds * rate));
    const auto decayFrames = static_cast<std::int64_t>(std::ceil(tone.decaySeconds * rate));
    const std::int64_t loopStart = attackFrames + decayFrames;
    std::vector<double> signal(static_cast<std::size_t>(loopStart + loopFrames));
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(signal.size()); ++i) {
        double envelope = tone.sustainLevel;
        if (i < attackFrames) {
            envelope = static_cast<double>(i) / static_cast<double>(attackFrames);
        } else if (i < loopStart) {
            const double x =
                static_cast<double>(i - attackFrames) / static_cast<double>(decayFrames);
            envelope = tone.sustainLevel + (1.0 - tone.sustainLevel) * (1.0 - x) * (1.0 - x);
        }
        double value = 0.0;
        for (std::size_t v = 0; v < voiceCycles.size(); ++v) {
            const std::int64_t turns = (voiceCycles[v] * i) % loopFrames;
            double cycle = static_cast<double>(turns) / static_cast<double>(loopFrames) + 0.37 * v;
            cycle -= std::floor(cycle);
            value += readTable(table, cycle);
        }
        signal[static_cast<std::size_t>(i)] = envelope * value;
    }

    ItSample sample = makeSample(tone.name, signal, rate, tone.baseNote);
    sample.loop = true;
    sample.loopStart = static_cast<std::uint32_t>(loopStart);
    sample.loopEnd = static_cast<std::uint32_t>(loopStart + loopFrames);
    sample.vibratoSpeed = tone.vibratoSpeed;
    sample.vibratoDepth = tone.vibratoDepth;
    sample.vibratoRate = tone.vibratoRate;
    return sample;
}

ItSample pluckedTone(const PluckedTone& tone) {
    const double rate = DrumRate;
    const double baseHz = noteHz(tone.baseNote);
    const int count = usableHarmonics(tone.harmonics.size(), tone.highestNote, 1.0);
    std::vector<double> signal(static_cast<std::size_t>(tone.seconds * rate));
    const double attack = 0.002;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double value = 0.0;
        for (int h = 1; h <= count; ++h) {
            const double damping = 1.0 + tone.brightnessDamping * (h - 1);
            value += tone.harmonics[static_cast<std::size_t>(h - 1)] *
                     std::exp(-t * damping / tone.decaySeconds) * std::sin(TwoPi * h * baseHz * t);
        }
        signal[i] = value * std::min(1.0, t / attack);
    }
    fadeTail(signal, rate);
    return makeSample(tone.name, signal, rate, tone.baseNote);
}

ItSample fmTone(const FmTone& tone) {
    const double rate = DrumRate;
    const double baseHz = noteHz(tone.baseNote);
    std::vector<double> signal(static_cast<std::size_t>(tone.seconds * rate));
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double index = tone.modulationIndex * std::exp(-t / tone.indexDecaySeconds);
        const double modulator = std::sin(TwoPi * tone.modulatorRatio * baseHz * t);
        double value = std::sin(TwoPi * baseHz * t + index * modulator);
        if (tone.tineRatio > 0.0) {
            value += tone.tineLevel * std::exp(-t / 0.04) *
                     std::sin(TwoPi * tone.tineRatio * baseHz * t);
        }
        signal[i] = value * std::exp(-t / tone.decaySeconds) * std::min(1.0, t / 0.002);
    }
    fadeTail(signal, rate);
    return makeSample(tone.name, signal, rate, tone.baseNote);
}
