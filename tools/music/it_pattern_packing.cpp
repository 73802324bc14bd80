#include "it_pattern_packing.h"

namespace {

// Bits of the mask byte that says which fields of a channel follow.
constexpr std::uint8_t NoteFollows = 1;
constexpr std::uint8_t SampleFollows = 2;
constexpr std::uint8_t VolumeFollows = 4;
constexpr std::uint8_t EffectFollows = 8;
constexpr std::uint8_t SameNote = 16;
constexpr std::uint8_t SameSample = 32;
constexpr std::uint8_t SameVolume = 64;
constexpr std::uint8_t SameEffect = 128;

constexpr std::uint8_t MaskFollows = 128; // in the channel byte
constexpr std::uint8_t EndOfRow = 0;

// What a reader remembers per channel within one pattern. A field is reused only once it has been
// written out in full in this pattern, so a reader that starts each pattern fresh decodes it right.
struct ChannelMemory {
    int mask = -1;
    int note = -1;
    int sample = -1;
    int volume = -1;
    int effect = -1;
    int parameter = -1;
};

bool isEmpty(const ItCell& cell) {
    return cell.note == ItNoNote && cell.sample == 0 && cell.volume == ItNoVolume &&
           cell.effect == 0;
}

} // namespace

std::vector<std::uint8_t> packItPattern(const ItPattern& pattern) {
    std::vector<std::uint8_t> packed;
    std::vector<ChannelMemory> memory(static_cast<std::size_t>(pattern.channels));
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < pattern.channels; ++channel) {
            const ItCell& cell = itCellAt(pattern, row, channel);
            if (isEmpty(cell)) {
                continue;
            }
            ChannelMemory& last = memory[static_cast<std::size_t>(channel)];
            std::uint8_t mask = 0;
            std::vector<std::uint8_t> fields;
            if (cell.note != ItNoNote) {
                if (cell.note == last.note) {
                    mask |= SameNote;
                } else {
                    mask |= NoteFollows;
                    fields.push_back(static_cast<std::uint8_t>(cell.note));
                    last.note = cell.note;
                }
            }
            if (cell.sample != 0) {
                if (cell.sample == last.sample) {
                    mask |= SameSample;
                } else {
                    mask |= SampleFollows;
                    fields.push_back(static_cast<std::uint8_t>(cell.sample));
                    last.sample = cell.sample;
                }
            }
            if (cell.volume != ItNoVolume) {
                if (cell.volume == last.volume) {
                    mask |= SameVolume;
                } else {
                    mask |= VolumeFollows;
                    fields.push_back(static_cast<std::uint8_t>(cell.volume));
                    last.volume = cell.volume;
                }
            }
            if (cell.effect != 0) {
                if (cell.effect == last.effect && cell.parameter == last.parameter) {
                    mask |= SameEffect;
                } else {
                    mask |= EffectFollows;
                    fields.push_back(cell.effect);
                    fields.push_back(cell.parameter);
                    last.effect = cell.effect;
                    last.parameter = cell.parameter;
                }
            }
            const auto channelByte = static_cast<std::uint8_t>(channel + 1);
            if (mask == last.mask) {
                packed.push_back(channelByte);
            } else {
                packed.push_back(channelByte | MaskFollows);
                packed.push_back(mask);
                last.mask = mask;
            }
            packed.insert(packed.end(), fields.begin(), fields.end());
        }
        packed.push_back(EndOfRow);
    }
    return packed;
}
