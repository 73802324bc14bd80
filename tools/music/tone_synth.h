// Pitched samples made by additive and FM synthesis.
#pragma once

#include "it_writer.h"

#include <cstdint>
#include <string>
#include <vector>

// Harmonic amplitudes (harmonic 1 first) of the classic waveforms, `count` harmonics long.
std::vector<double> sawHarmonics(int count, double rolloff = 1.0); // 1 / h^rolloff
std::vector<double> squareHarmonics(int count);                    // odd harmonics, 1 / h
std::vector<double> pulseHarmonics(int count, double duty);        // sin(pi h duty) / h

// A tone that holds as long as its note does: an attack and a decay to a sustain level, then a
// seamless loop in which every voice and harmonic runs a whole number of cycles.
struct SustainedTone {
    std::string name;
    std::vector<double> harmonics;
    int baseNote = 60;    // the pitch synthesized
    int highestNote = 84; // harmonics that would pass 15 kHz at this note are left out
    int voices = 1;       // detuned copies, spread evenly over detuneCents
    double detuneCents = 0.0;
    double attackSeconds = 0.005;
    double decaySeconds = 0.0;
    double sustainLevel = 1.0;
    std::uint8_t vibratoSpeed = 0;
    std::uint8_t vibratoDepth = 0;
    std::uint8_t vibratoRate = 0;
};
ItSample sustainedTone(const SustainedTone& tone);

// A struck or plucked string: every harmonic dies away, the higher ones faster.
struct PluckedTone {
    std::string name;
    std::vector<double> harmonics;
    int baseNote = 60;
    int highestNote = 96;
    double seconds = 0.8;
    double decaySeconds = 0.25;     // time constant of the fundamental
    double brightnessDamping = 0.4; // harmonic h decays (1 + damping (h - 1)) times faster
};
ItSample pluckedTone(const PluckedTone& tone);

// A two-operator FM tone (electric piano, bell): the modulation index and the level both decay.
struct FmTone {
    std::string name;
    int baseNote = 60;
    double seconds = 2.0;
    double decaySeconds = 0.8;
    double modulatorRatio = 1.0;
    double modulationIndex = 1.5;
    double indexDecaySeconds = 0.4;
    double tineRatio = 0.0; // a short high partial at the strike; 0: none
    double tineLevel = 0.0;
};
ItSample fmTone(const FmTone& tone);
