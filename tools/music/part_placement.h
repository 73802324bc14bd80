// Writing each part of a section into the song grid: melody with its echo, pad, bass and
// arpeggio lines, drums, and the closing fade.
#pragma once

#include "section_chords.h"
#include "song_grid.h"
#include "track_plan.h"

// Which pad set the next chord goes to, and whether the other one still sounds; carried from
// section to section so that the pad crosses over section boundaries too.
struct PadState {
    int set = 0;
    bool previousSounding = false;
};

// The section's melody, repeated to fill it, on the lead channel and, later and softer, on the
// echo channel. Throws std::invalid_argument when the melody does not divide the section.
void placeMelody(SongGrid& grid, const TrackPlan& plan, const Section& section, int firstRow);

// Each chord goes to the set the previous chord is not on; the previous one fades out over
// padCrossfadeRows rows under the new chord's attack and then stops.
void placePad(SongGrid& grid, const SectionChords& chords, int bars, int firstRow,
              const TrackPlan& plan, int level, PadState& state);

// A bass or arpeggio line (16 steps, repeated every bar) over the chords, rooted at or above `low`.
void placeChordLine(SongGrid& grid, const char* line, const SectionChords& chords, int bars,
                    int firstRow, int channel, int sample, int low, int level);

// One bar of a drum line; nullptr places nothing.
void placeDrumLine(SongGrid& grid, const char* line, int firstRow, int channel, int sample,
                   int level);

// Throws std::invalid_argument unless the line is nullptr or exactly 16 steps.
void requireSteps(const char* line, const char* what);

// Scales every sounding channel down row by row so that the section ends in silence, starting
// from each channel's loudness of the moment.
void fadeSection(SongGrid& grid, int firstRow, int rows);
