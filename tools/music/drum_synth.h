// Unpitched samples: drums, cymbals and struck metal, all played at C-5.
#pragma once

#include "it_writer.h"

#include <cstdint>

struct KickDrum {
    double startHz = 150.0; // the pitch falls from here ...
    double endHz = 48.0;    // ... to here
    double sweepSeconds = 0.045;
    double decaySeconds = 0.28;
    double click = 0.25; // level of the beater's click
};
ItSample kickDrum(const KickDrum& kick);

struct SnareDrum {
    double toneHz = 185.0;
    double toneDecaySeconds = 0.07;
    double noiseDecaySeconds = 0.14;
    double noiseLowHz = 1200.0; // noise below this is thinned out
    double toneLevel = 0.5;
    bool clap = false; // three quick bursts before the tail, like hands
};
ItSample snareDrum(const SnareDrum& snare);

// Metallic noise: a hi-hat (short or open) or, soft and band-limited, a shaker.
struct HiHat {
    double decaySeconds = 0.05;
    double lowHz = 6500.0;
    double metal = 0.5; // share of the square-wave cluster against plain noise
    double attackSeconds = 0.0005;
    std::uint32_t seed = 1;
};
ItSample hiHat(const char* name, const HiHat& hat);

ItSample crashCymbal(double seconds);
ItSample rimClick();
ItSample tomDrum(double startHz, double endHz, double decaySeconds);
// A hammer on an anvil: inharmonic ringing partials over a short strike noise.
ItSample anvilStrike(double baseHz, double decaySeconds);
