// Writes Impulse Tracker modules (.it) from plain records.
//
// The records describe a module in sample mode (no instruments): the instrument column of a cell
// names a sample directly, 1-based. Samples are uncompressed signed PCM, stored as 8 or 16 bits;
// they carry their own rate, loop and volumes. Patterns are rows x channels grids of cells, packed
// on writing. The song plays its order list once and then ends: the writer appends the order
// list's end marker (255) itself, and nothing here adds a jump back.
//
// Layout written: the 192-byte header, the order list, the sample and pattern offset tables, the
// sample headers, the packed patterns and last the sample data. Multi-byte fields are
// little-endian. Header fields at their documented offsets: 0x00 "IMPM", 0x04 title (26 bytes),
// 0x20 order count (including the end marker), 0x22 instrument count (always 0), 0x24 sample count,
// 0x26 pattern count, 0x2C flags, 0x30 global volume, 0x31 mix volume, 0x32 initial speed, 0x33
// initial tempo, 0x34 stereo separation, 0x40 channel panning (64 bytes), 0x80 channel volume
// (64 bytes), 0xC0 the order list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Cells.

constexpr int ItNoNote = -1;       // the cell has no note
constexpr int ItNoteCut = 254;     // "^^^": the note stops at once
constexpr int ItNoteOff = 255;     // "===": key off
constexpr int ItMiddleC = 60;      // C-5: plays a sample at its own rate (ItSample::rate)
constexpr int ItHighestNote = 119; // B-9; notes run from 0 (C-0) to here

constexpr int ItNoVolume = -1; // the volume column is empty

// Effect letters as the format numbers them: A = 1 (set speed) ... Z = 26.
constexpr std::uint8_t itEffect(char letter) {
    return static_cast<std::uint8_t>(letter - 'A' + 1);
}

struct ItCell {
    int note = ItNoNote;        // 0..119 (C-0..B-9), ItNoteCut, ItNoteOff, or ItNoNote
    int sample = 0;             // 1-based sample number; 0: none
    int volume = ItNoVolume;    // volume column: 0..64 sets the volume; other column codes up to
                                // 212 (slides, panning 128..192) are written as given
    std::uint8_t effect = 0;    // itEffect('A')..itEffect('Z'); 0: none
    std::uint8_t parameter = 0; // the effect's parameter
};

// ---------------------------------------------------------------------------------------------
// Patterns.

constexpr int ItMaxRows = 200; // the format's limit per pattern
constexpr int ItMaxChannels = 64;

struct ItPattern {
    int rows = 64;
    int channels = 0;          // must equal ItModule::channelCount
    std::vector<ItCell> cells; // rows * channels cells, row after row
};

// An empty pattern of the given size.
ItPattern makeItPattern(int rows, int channels);

// The cell at a row and channel; the pattern must hold it (checked, throws std::out_of_range).
ItCell& itCellAt(ItPattern& pattern, int row, int channel);
const ItCell& itCellAt(const ItPattern& pattern, int row, int channel);

// ---------------------------------------------------------------------------------------------
// Samples.

enum class ItSampleDepth : std::uint8_t { Bits8, Bits16 };

struct ItSample {
    std::string name;                            // up to 25 characters are kept
    std::vector<std::int16_t> frames;            // mono PCM at full 16-bit scale
    ItSampleDepth depth = ItSampleDepth::Bits16; // Bits8 stores the high byte of every frame
    std::uint32_t rate = 8363;                   // frames per second when played at ItMiddleC (C-5)
    bool loop = false;                           // forward loop over [loopStart, loopEnd)
    std::uint32_t loopStart = 0;
    std::uint32_t loopEnd = 0;       // one past the loop's last frame; at most frames.size()
    std::uint8_t defaultVolume = 64; // 0..64, used when a note comes without a volume
    std::uint8_t globalVolume = 64;  // 0..64, scales every note of this sample
    // Automatic vibrato applied by the player to every note of this sample (all 0: none).
    std::uint8_t vibratoSpeed = 0; // 0..64
    std::uint8_t vibratoDepth = 0; // 0..64
    std::uint8_t vibratoRate = 0;  // 0..255: how fast the vibrato reaches full depth
};

// ---------------------------------------------------------------------------------------------
// The module.

constexpr std::uint8_t ItOrderSkip = 254; // "+++" in the order list: skipped by the player
constexpr int ItMaxOrders = 255;          // before the end marker

struct ItModule {
    std::string title;                    // up to 25 characters are kept
    int channelCount = 4;                 // 1..64
    std::vector<std::uint8_t> channelPan; // 0 (left) .. 32 (centre) .. 64 (right) per channel;
                                          // empty: every channel centred
    std::uint8_t initialSpeed = 6;        // ticks per row, 1..255
    std::uint8_t initialTempo = 125;      // 32..255; at speed 6 and 4 rows a beat this is the BPM
    std::uint8_t globalVolume = 128;      // 0..128
    std::uint8_t mixVolume = 48;          // 0..128
    std::uint8_t stereoSeparation = 128;  // 0..128
    std::vector<std::uint8_t> orders;     // pattern indices (or ItOrderSkip), played once in turn
    std::vector<ItSample> samples;        // sample 1 is samples[0]
    std::vector<ItPattern> patterns;
};

// The bytes of the .it file. Throws std::invalid_argument when the module breaks a limit of the
// format or refers to something it does not hold (a pattern of the order list, a sample of a cell,
// a loop beyond its sample, a cell value out of range, a pattern of the wrong size).
std::vector<std::uint8_t> writeItModule(const ItModule& module);

// A module for testing a player: one looped sine-ish sample at C-5 held by one channel, in one
// pattern that plays for about `seconds` (within a few milliseconds; 0.01 to 480 s, clamped)
// and then the song ends.
ItModule makeToneModule(double seconds);
