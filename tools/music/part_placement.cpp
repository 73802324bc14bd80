#include "part_placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

// A chord tone named by a line character, in semitones above the chord's root; -1: not a tone.
int chordToneOffset(const Chord& chord, char symbol) {
    switch (symbol) {
    case '1':
        return 0;
    case '3':
        return chord.third;
    case '5':
        return chord.fifth;
    case '7':
        return chord.seventh;
    case '8':
        return 12;
    case '9':
        return chord.ninth;
    case '0':
        return chord.third + 12;
    default:
        return -1;
    }
}

// How hard a drum step strikes, as a percentage of the part's level; 0: no strike.
int drumVelocity(char step) {
    switch (step) {
    case 'X':
        return 100;
    case 'x':
    case 'O':
        return 80;
    case 'o':
        return 55;
    case '-':
        return 35;
    case '.':
        return 0;
    default:
        throw std::invalid_argument(std::string("unknown drum step '") + step + "'");
    }
}

} // namespace

void requireSteps(const char* line, const char* what) {
    if (line != nullptr && std::strlen(line) != StepsPerBar) {
        throw std::invalid_argument(std::string(what) + " line is not 16 steps: " + line);
    }
}

void placeMelody(SongGrid& grid, const TrackPlan& plan, const Section& section, int firstRow) {
    const Melody melody = parseMelody(section.melody, plan.key.mode, plan.leadTonic);
    const int sectionRows = section.bars * RowsPerBar;
    if (sectionRows % melody.rows != 0) {
        throw std::invalid_argument("a melody of " + std::to_string(melody.rows) +
                                    " rows does not fit a section of " +
                                    std::to_string(sectionRows));
    }
    for (int start = 0; start < sectionRows; start += melody.rows) {
        for (const MelodyNote& note : melody.notes) {
            const int row = firstRow + start + note.row;
            const int echoRow = row + plan.echoDelayRows;
            if (note.rest) {
                cutNote(grid, row, LeadChannel);
                cutNote(grid, echoRow, EchoChannel);
                continue;
            }
            const int volume = scaled(section.levels.lead, stepAccent(note.row % StepsPerBar));
            playNote(grid, row, LeadChannel, note.note, LeadSample, volume);
            if (plan.echoPercent > 0) {
                playNote(grid, echoRow, EchoChannel, note.note, LeadSample,
                         scaled(volume, plan.echoPercent));
            }
        }
    }
}

void placePad(SongGrid& grid, const SectionChords& chords, int bars, int firstRow,
              const TrackPlan& plan, int level, PadState& state) {
    int& set = state.set;
    bool& previousSounding = state.previousSounding;
    for (int bar = 0; bar < bars; ++bar) {
        for (int step = 0; step < StepsPerBar; ++step) {
            if (!chordChangesAt(chords, bar, step)) {
                continue;
            }
            const Chord& chord = chordAt(chords, bar, step);
            std::array<int, PadSetSize> voicing{
                noteAtOrAbove(chord.rootPitchClass, plan.padLow),
                noteAtOrAbove((chord.rootPitchClass + chord.third) % 12, plan.padLow),
                noteAtOrAbove((chord.rootPitchClass + chord.fifth) % 12, plan.padLow),
            };
            std::sort(voicing.begin(), voicing.end());
            const int row = firstRow + bar * StepsPerBar + step;
            const int oldSet = PadChannel + PadSetSize * (1 - set);
            const int newSet = PadChannel + PadSetSize * set;
            for (int voice = 0; voice < PadSetSize; ++voice) {
                playNote(grid, row, newSet + voice, voicing[static_cast<std::size_t>(voice)],
                         PadSample, level);
                if (!previousSounding) {
                    continue;
                }
                for (int fade = 1; fade <= plan.padCrossfadeRows; ++fade) {
                    if (row + fade < grid.rows &&
                        grid.at(row + fade, oldSet + voice).note == ItNoNote) {
                        grid.at(row + fade, oldSet + voice).volume =
                            level * (plan.padCrossfadeRows + 1 - fade) /
                            (plan.padCrossfadeRows + 1);
                    }
                }
                cutNote(grid, row + plan.padCrossfadeRows + 1, oldSet + voice);
            }
            previousSounding = true;
            set = 1 - set;
        }
    }
}

void placeChordLine(SongGrid& grid, const char* line, const SectionChords& chords, int bars,
                    int firstRow, int channel, int sample, int low, int level) {
    for (int bar = 0; bar < bars; ++bar) {
        for (int step = 0; step < StepsPerBar; ++step) {
            const char symbol = line[step];
            const int row = firstRow + bar * StepsPerBar + step;
            if (symbol == '.') {
                continue;
            }
            if (symbol == 'x') {
                cutNote(grid, row, channel);
                continue;
            }
            const Chord& chord = chordAt(chords, bar, step);
            const int offset = chordToneOffset(chord, symbol);
            if (offset < 0) {
                throw std::invalid_argument(std::string("unknown chord-line step '") + symbol +
                                            "'");
            }
            playNote(grid, row, channel, noteAtOrAbove(chord.rootPitchClass, low) + offset, sample,
                     scaled(level, stepAccent(step)));
        }
    }
}

void placeDrumLine(SongGrid& grid, const char* line, int firstRow, int channel, int sample,
                   int level) {
    if (line == nullptr) {
        return;
    }
    for (int step = 0; step < StepsPerBar; ++step) {
        const int velocity = drumVelocity(line[step]);
        if (velocity == 0) {
            continue;
        }
        const int chosen = line[step] == 'O' ? OpenHatSample : sample;
        playNote(grid, firstRow + step, channel, ItMiddleC, chosen, scaled(level, velocity));
    }
}

void fadeSection(SongGrid& grid, int firstRow, int rows) {
    std::array<int, TrackChannelCount> loudness{};
    for (int row = 0; row < firstRow + rows; ++row) {
        const bool fading = row >= firstRow;
        const double share =
            fading ? static_cast<double>(firstRow + rows - 1 - row) / (rows - 1) : 1.0;
        for (int channel = 0; channel < TrackChannelCount; ++channel) {
            ItCell& cell = grid.at(row, channel);
            int& level = loudness[static_cast<std::size_t>(channel)];
            if (cell.note == ItNoteCut) {
                level = 0;
            } else if (cell.volume != ItNoVolume) {
                level = cell.volume;
            } else if (cell.note != ItNoNote) {
                level = 64;
            }
            if (fading && level > 0 && cell.note != ItNoteCut) {
                cell.volume = static_cast<int>(std::lround(level * share));
            }
        }
    }
}
