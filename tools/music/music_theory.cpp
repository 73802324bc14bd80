#include "music_theory.h"

#include <stdexcept>
#include <string>

namespace {

constexpr std::array<int, 7> MajorSteps{0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> MinorSteps{0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> DorianSteps{0, 2, 3, 5, 7, 9, 10};

const std::array<int, 7>& scaleSteps(Mode mode) {
    switch (mode) {
    case Mode::Major:
        return MajorSteps;
    case Mode::Minor:
        return MinorSteps;
    case Mode::Dorian:
        return DorianSteps;
    }
    return MajorSteps;
}

int floorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

int degreeSemitones(Mode mode, int degree) {
    const int zeroBased = degree - 1;
    const int octave = floorDiv(zeroBased, 7);
    const int step = zeroBased - 7 * octave;
    return 12 * octave + scaleSteps(mode)[static_cast<std::size_t>(step)];
}

int noteAtOrAbove(int pitchClass, int low) {
    const int lowClass = ((low % 12) + 12) % 12;
    const int up = ((pitchClass - lowClass) % 12 + 12) % 12;
    return low + up;
}

Chord parseChord(Key key, std::string_view symbol) {
    if (symbol.empty() || symbol[0] < '1' || symbol[0] > '7' || symbol.size() > 2) {
        throw std::invalid_argument("bad chord symbol '" + std::string(symbol) + "'");
    }
    const int degree = symbol[0] - '0';
    const int root = degreeSemitones(key.mode, degree);
    Chord chord;
    chord.rootPitchClass = (key.tonic + root) % 12;
    chord.third = degreeSemitones(key.mode, degree + 2) - root;
    chord.fifth = degreeSemitones(key.mode, degree + 4) - root;
    chord.seventh = degreeSemitones(key.mode, degree + 6) - root;
    chord.ninth = degreeSemitones(key.mode, degree + 8) - root;
    if (symbol.size() == 2) {
        switch (symbol[1]) {
        case 'M':
            chord.third = 4;
            break;
        case 'm':
            chord.third = 3;
            break;
        case 's':
            chord.third = 5;
            break;
        default:
            throw std::invalid_argument("bad chord quality in '" + std::string(symbol) + "'");
        }
    }
    return chord;
}
