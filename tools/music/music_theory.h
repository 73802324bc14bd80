// Keys, scale degrees and chords, in IT note numbers (60 = C-5, 12 per octave).
#pragma once

#include <array>
#include <string_view>

enum class Mode { Major, Minor, Dorian };

struct Key {
    int tonic = 0; // pitch class of degree 1: 0 = C, 1 = C#, ... 11 = B
    Mode mode = Mode::Major;
};

// Semitones from the tonic up to a scale degree (1..7; other values wrap by octaves, so degree 8
// is the tonic an octave up and degree 0 the seventh an octave down).
int degreeSemitones(Mode mode, int degree);

// The lowest note at or above `low` whose pitch class is `pitchClass`.
int noteAtOrAbove(int pitchClass, int low);

// A chord built on a scale degree, as semitones above its root.
struct Chord {
    int rootPitchClass = 0;
    int third = 4; // semitones above the root
    int fifth = 7;
    int seventh = 10;
    int ninth = 14;
};

// Parses one chord symbol: a scale degree 1..7 whose triad is stacked from the key's own scale,
// optionally followed by 'M' (a major third, as the raised dominant of a minor key) or 'm' (a
// minor third) or 's' (a suspended fourth in place of the third). Throws std::invalid_argument.
Chord parseChord(Key key, std::string_view symbol);
