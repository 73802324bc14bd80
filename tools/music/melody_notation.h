// A compact text notation for melodies, written in scale degrees so that a tune reads the same in
// any key.
//
// Tokens are separated by spaces:
//   5q     degree 5 for a quarter note. Degrees 1..7; '#' or 'b' before the degree raises or lowers
//          it a semitone; each ' after it goes an octave up, each , an octave down.
//   r      a rest; the note before it stops.
//   ~h     holds the note before it longer.
//   |      a bar line: must fall on a whole bar, which catches miscounted bars.
// Lengths, in rows of a 16th note: w 16, h 8, q 4, e 2, s 1, a '.' after the letter adds half
// again; ":n" gives n rows. A token without a length keeps the previous one (a quarter at first).
#pragma once

#include "music_theory.h"

#include <string_view>
#include <vector>

constexpr int RowsPerBar = 16;

struct MelodyNote {
    int row = 0;    // from the start of the melody
    int length = 0; // rows
    bool rest = false;
    int note = 0; // IT note number; unused for a rest
};

struct Melody {
    std::vector<MelodyNote> notes;
    int rows = 0; // the whole melody's length, a whole number of bars
};

// Reads a melody whose degree 1 sounds at `tonicNote`. Throws std::invalid_argument on a token it
// cannot read, a bar line off the bar, a hold with nothing to hold, a note outside 0..119, or a
// melody that does not fill whole bars.
Melody parseMelody(std::string_view text, Mode mode, int tonicNote);
