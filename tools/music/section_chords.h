// A section's chord symbols, read once, answering which chord sounds at a step of a bar.
#pragma once

#include "music_theory.h"

#include <vector>

struct SectionChords {
    std::vector<std::vector<Chord>> bars; // one or two chords a bar, as written
};

// Reads symbols separated by spaces, one bar each ("6,7": two chords in a bar). Throws
// std::invalid_argument on an unknown symbol, an empty list or a bar of more than two chords.
SectionChords readSectionChords(const char* text, Key key);

// The chord sounding at a step of a bar; the written bars repeat to fill the section.
const Chord& chordAt(const SectionChords& chords, int bar, int step);

// Whether a new chord starts on this step (every bar's first step counts).
bool chordChangesAt(const SectionChords& chords, int bar, int step);
