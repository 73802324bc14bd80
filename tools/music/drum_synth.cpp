#include "drum_synth.h"

#include "synth_basics.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

std::vector<double> silence(double seconds) {
    return std::vector<double>(static_cast<std::size_t>(seconds * DrumRate));
}

double timeAt(std::size_t frame) {
    return static_cast<double>(frame) / DrumRate;
}

// The square-wave cluster of analogue cymbals: six detuned, unrelated pitches.
double metalCluster(double t, double scale) {
    static constexpr std::array<double, 6> Pitches{205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double value = 0.0;
    for (double pitch : Pitches) {
        value += std::sin(TwoPi * pitch * scale * t) >= 0.0 ? 1.0 : -1.0;
    }
    return value / static_cast<double>(Pitches.size());
}

ItSample unpitched(const char* name, std::vector<double> signal) {
    fadeOutTail(signal, signal.size() / 10);
    return makeSample(name, signal, DrumRate, ItMiddleC);
}

} // namespace

ItSample kickDrum(const KickDrum& kick) {
    std::vector<double> signal = silence(kick.decaySeconds * 5.0);
    NoiseSource noise;
    double phase = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        const double hz =
            kick.endHz + (kick.startHz - kick.endHz) * std::exp(-t / kick.sweepSeconds);
        phase += TwoPi * hz / DrumRate;
        const double body = std::sin(phase) * std::exp(-t / kick.decaySeconds);
        const double click = kick.click * noise.next() * std::exp(-t / 0.003);
        signal[i] = (body + click) * std::min(1.0, t / 0.0005);
    }
    return unpitched("kick", signal);
}

ItSample snareDrum(const SnareDrum& snare) {
    std::vector<double> signal = silence(snare.noiseDecaySeconds * 5.0);
    NoiseSource noise;
    noise.state = 0x1234567u;
    HighPass thin(snare.noiseLowHz, DrumRate);
    LowPass soften(9000.0, DrumRate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        double noiseEnvelope = std::exp(-t / snare.noiseDecaySeconds);
        if (snare.clap) {
            // Bursts 10 ms apart, then the room's tail.
            const double burst = std::fmod(t, 0.010);
            noiseEnvelope = t < 0.030 ? std::exp(-burst / 0.003)
                                      : std::exp(-(t - 0.030) / snare.noiseDecaySeconds);
        }
        const double grit = soften(thin(noise.next())) * noiseEnvelope;
        const double tone = snare.toneLevel * std::sin(TwoPi * snare.toneHz * t) *
                            std::exp(-t / snare.toneDecaySeconds);
        signal[i] = (grit + tone) * std::min(1.0, t / 0.0005);
    }
    return unpitched(snare.clap ? "clap" : "snare", signal);
}

ItSample hiHat(const char* name, const HiHat& hat) {
    std::vector<double> signal = silence(hat.decaySeconds * 6.0 + hat.attackSeconds);
    NoiseSource noise;
    noise.state += hat.seed * 7919u;
    HighPass first(hat.lowHz, DrumRate);
    HighPass second(hat.lowHz, DrumRate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        const double raw = hat.metal * metalCluster(t, 1.7) + (1.0 - hat.metal) * noise.next();
        const double envelope = t < hat.attackSeconds
                                    ? t / hat.attackSeconds
                                    : std::exp(-(t - hat.attackSeconds) / hat.decaySeconds);
        signal[i] = second(first(raw)) * envelope;
    }
    return unpitched(name, signal);
}

ItSample crashCymbal(double seconds) {
    std::vector<double> signal = silence(seconds);
    NoiseSource noise;
    noise.state = 0xC0FFEEu;
    HighPass first(3500.0, DrumRate);
    HighPass second(3500.0, DrumRate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        const double raw = 0.35 * metalCluster(t, 2.3) + 0.65 * noise.next();
        const double envelope = std::exp(-t / (seconds / 4.0)) * std::min(1.0, t / 0.001);
        signal[i] = second(first(raw)) * envelope;
    }
    fadeOutTail(signal, signal.size() / 5);
    return unpitched("crash", signal);
}

ItSample rimClick() {
    std::vector<double> signal = silence(0.08);
    NoiseSource noise;
    noise.state = 0xBEEFu;
    HighPass thin(2000.0, DrumRate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        const double tone = std::sin(TwoPi * 1650.0 * t) + 0.5 * std::sin(TwoPi * 520.0 * t);
        signal[i] =
            (tone * std::exp(-t / 0.012) + 0.6 * thin(noise.next()) * std::exp(-t / 0.004)) *
            std::min(1.0, t / 0.0003);
    }
    return unpitched("rim", signal);
}

ItSample tomDrum(double startHz, double endHz, double decaySeconds) {
    std::vector<double> signal = silence(decaySeconds * 5.0);
    NoiseSource noise;
    noise.state = 0x7070u;
    double phase = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        const double hz = endHz + (startHz - endHz) * std::exp(-t / 0.06);
        phase += TwoPi * hz / DrumRate;
        signal[i] = (std::sin(phase) + 0.15 * noise.next() * std::exp(-t / 0.01)) *
                    std::exp(-t / decaySeconds) * std::min(1.0, t / 0.0005);
    }
    return unpitched("tom", signal);
}

ItSample anvilStrike(double baseHz, double decaySeconds) {
    // Ratios of a thick steel bar's bending modes, roughly; each rings shorter than the last.
    static constexpr std::array<double, 5> Ratios{1.0, 2.76, 5.40, 8.93, 13.34};
    static constexpr std::array<double, 5> Levels{1.0, 0.7, 0.45, 0.3, 0.2};
    std::vector<double> signal = silence(decaySeconds * 4.0);
    NoiseSource noise;
    noise.state = 0xA11u;
    HighPass thin(2500.0, DrumRate);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeAt(i);
        double ring = 0.0;
        for (std::size_t p = 0; p < Ratios.size(); ++p) {
            const double hz = baseHz * Ratios[p];
            if (hz < 15000.0) {
                ring +=
                    Levels[p] * std::sin(TwoPi * hz * t) * std::exp(-t * (1.0 + p) / decaySeconds);
            }
        }
        const double strike = thin(noise.next()) * std::exp(-t / 0.006);
        signal[i] = (ring + 0.8 * strike) * std::min(1.0, t / 0.0003);
    }
    fadeOutTail(signal, signal.size() / 8);
    return unpitched("anvil", signal);
}
