#include "synth_basics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double noteHz(int note) {
    return MiddleCHz * std::exp2((note - ItMiddleC) / 12.0);
}

double NoiseSource::next() {
    // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
}

LowPass::LowPass(double cutoffHz, double rate)
    : coefficient(1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / rate)) {}

double LowPass::operator()(double input) {
    state += coefficient * (input - state);
    return state;
}

void fadeOutTail(std::vector<double>& signal, std::size_t frames) {
    const std::size_t fade = std::min(signal.size(), frames);
    for (std::size_t i = 0; i < fade; ++i) {
        signal[signal.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
    }
}

ItSample makeSample(const std::string& name, const std::vector<double>& signal, double signalRate,
                    int signalNote, double peak) {
    double loudest = 0.0;
    for (double value : signal) {
        loudest = std::max(loudest, std::fabs(value));
    }
    const double scale = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
    ItSample sample;
    sample.name = name;
    sample.frames.reserve(signal.size());
    for (double value : signal) {
        sample.frames.push_back(static_cast<std::int16_t>(std::lround(value * scale)));
    }
    sample.rate = static_cast<std::uint32_t>(
        std::lround(signalRate * std::exp2((ItMiddleC - signalNote) / 12.0)));
    return sample;
}
