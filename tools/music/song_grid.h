// The whole track as one grid of cells, rows by channels, before it is cut into patterns; and
// the small rules every part follows when it writes into it.
#pragma once

#include "it_writer.h"
#include "melody_notation.h"
#include "track_plan.h"

#include <algorithm>
#include <cstddef>
#include <vector>

constexpr int StepsPerBar = RowsPerBar;

// The samples' numbers in every track module, in TrackSounds order.
enum SampleSlot : int {
    LeadSample = 1,
    PadSample,
    BassSample,
    ArpSample,
    KickSample,
    SnareSample,
    ClosedHatSample,
    OpenHatSample,
    CrashSample,
    PercSample,
};

struct SongGrid {
    int rows = 0;
    std::vector<ItCell> cells;

    explicit SongGrid(int rowCount)
        : rows(rowCount), cells(static_cast<std::size_t>(rowCount) * TrackChannelCount) {}
    ItCell& at(int row, int channel) {
        return cells[static_cast<std::size_t>(row) * TrackChannelCount +
                     static_cast<std::size_t>(channel)];
    }
};

// A loudness (0..64) scaled by a percentage, rounded.
inline int scaled(int level, int percent) {
    return std::clamp((level * percent + 50) / 100, 0, 64);
}

// Notes on the beat sound fuller than those between.
inline int stepAccent(int step) {
    return step % 4 == 0 ? 100 : 86;
}

// Rows past the end of the track are dropped: an echo may reach beyond the last bar.
inline void playNote(SongGrid& grid, int row, int channel, int note, int sample, int volume) {
    if (row >= grid.rows) {
        return;
    }
    ItCell& cell = grid.at(row, channel);
    cell.note = note;
    cell.sample = sample;
    cell.volume = volume;
}

// Stops whatever the channel plays, unless a note already starts on that row.
inline void cutNote(SongGrid& grid, int row, int channel) {
    if (row >= grid.rows) {
        return;
    }
    ItCell& cell = grid.at(row, channel);
    if (cell.note == ItNoNote) {
        cell.note = ItNoteCut;
    }
}
