// The picture maker's own random numbers: SplitMix64 with a fixed seed per use, so stars, grain
// and scattered details land on the same pixels on every run and every machine.
#pragma once

#include <cstdint>

namespace pictures {

class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    double between(double low, double high) { return low + (high - low) * unit(); }

private:
    std::uint64_t state_;
};

} // namespace pictures
