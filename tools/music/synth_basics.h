// Shared pieces of the sample synthesizers: pitch, a repeatable noise source and the step from a
// signal to a sample record.
#pragma once

#include "it_writer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr double MiddleCHz = 261.6255653005986; // C-5, IT note 60
constexpr double DrumRate = 32000.0;            // frames per second of unpitched samples

double noteHz(int note);

// White noise in [-1, 1) from a fixed seed: the same numbers on every build and platform, unlike
// the standard library's distributions.
struct NoiseSource {
    std::uint32_t state = 0x9E3779B9u;
    double next();
};

// One-pole filters for shaping noise and tone.
struct LowPass {
    double coefficient = 1.0; // from cutoff: 1 - exp(-2 pi fc / rate)
    double state = 0.0;
    LowPass(double cutoffHz, double rate);
    double operator()(double input);
};

struct HighPass {
    LowPass low;
    HighPass(double cutoffHz, double rate) : low(cutoffHz, rate) {}
    double operator()(double input) { return input - low(input); }
};

// Fades the last `frames` frames of a signal to nothing, so that a sample that is not looped never
// ends on a step.
void fadeOutTail(std::vector<double>& signal, std::size_t frames);

// A 16-bit sample from a signal, scaled so that its loudest frame sits at `peak` of full scale.
// `signalRate` frames per second sound at `signalNote`, which fixes the rate stored for C-5.
ItSample makeSample(const std::string& name, const std::vector<double>& signal, double signalRate,
                    int signalNote, double peak = 0.9);
