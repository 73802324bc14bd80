// Lays out a module as the format describes it and checks it against the format's limits first.
#include "it_writer.h"

#include "it_bytes.h"
#include "it_pattern_packing.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr std::size_t HeaderSize = 0xC0;
constexpr std::size_t SampleHeaderSize = 0x50;
constexpr std::size_t PatternHeaderSize = 8;
constexpr std::uint8_t OrderListEnd = 255;

constexpr int MaxSamples = 99;
constexpr int MaxPatterns = 200;
constexpr std::uint32_t MaxSampleRate = 9999999;
constexpr std::size_t MaxPackedPattern = 0xFFFF;
constexpr int HighestVolumeColumnCode = 212;

// Header flags.
constexpr std::uint16_t StereoMix = 1;
constexpr std::uint16_t LinearSlides = 8;

// Sample header flags and conversion bits.
constexpr std::uint8_t SampleHasData = 1;
constexpr std::uint8_t Sample16Bit = 2;
constexpr std::uint8_t SampleLoops = 16;
constexpr std::uint8_t SignedFrames = 1;

// Written as Impulse Tracker 2.14 files; players pick their IT playback rules from these fields.
constexpr std::uint16_t CreatedWithVersion = 0x0214;
constexpr std::uint16_t CompatibleWithVersion = 0x0214;

void require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::invalid_argument("writeItModule: " + what);
    }
}

void checkCell(const ItCell& cell, std::size_t sampleCount, const std::string& where) {
    const bool noteValid = cell.note == ItNoNote ||
                           (cell.note >= 0 && cell.note <= ItHighestNote) ||
                           cell.note == ItNoteCut || cell.note == ItNoteOff;
    require(noteValid, where + ": note out of range");
    require(cell.sample >= 0 && static_cast<std::size_t>(cell.sample) <= sampleCount,
            where + ": no such sample");
    require(cell.volume == ItNoVolume ||
                (cell.volume >= 0 && cell.volume <= HighestVolumeColumnCode),
            where + ": volume column code out of range");
    require(cell.effect <= itEffect('Z'), where + ": no such effect");
    require(cell.effect != 0 || cell.parameter == 0, where + ": a parameter without an effect");
}

void checkPattern(const ItPattern& pattern, int channelCount, std::size_t sampleCount,
                  const std::string& where) {
    require(pattern.rows >= 1 && pattern.rows <= ItMaxRows, where + ": rows out of range");
    require(pattern.channels == channelCount, where + ": channel count differs from the module's");
    require(pattern.cells.size() ==
                static_cast<std::size_t>(pattern.rows) * static_cast<std::size_t>(pattern.channels),
            where + ": cell count is not rows x channels");
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < pattern.channels; ++channel) {
            checkCell(itCellAt(pattern, row, channel), sampleCount,
                      where + " row " + std::to_string(row) + " channel " +
                          std::to_string(channel));
        }
    }
}

void checkSample(const ItSample& sample, const std::string& where) {
    require(sample.frames.size() <= 0xFFFFFFu, where + ": too many frames");
    require(sample.rate >= 1 && sample.rate <= MaxSampleRate, where + ": rate out of range");
    require(sample.defaultVolume <= 64 && sample.globalVolume <= 64, where + ": volume above 64");
    require(sample.vibratoSpeed <= 64 && sample.vibratoDepth <= 64,
            where + ": vibrato speed or depth above 64");
    if (sample.loop) {
        require(sample.loopStart < sample.loopEnd && sample.loopEnd <= sample.frames.size(),
                where + ": loop outside the sample or empty");
    }
}

void checkModule(const ItModule& module) {
    require(module.channelCount >= 1 && module.channelCount <= ItMaxChannels,
            "channel count out of range");
    require(module.channelPan.empty() ||
                module.channelPan.size() == static_cast<std::size_t>(module.channelCount),
            "channel panning must be empty or one value per channel");
    for (std::uint8_t pan : module.channelPan) {
        require(pan <= 64, "channel panning above 64");
    }
    require(module.initialSpeed >= 1, "initial speed 0");
    require(module.initialTempo >= 32, "initial tempo below 32");
    require(module.globalVolume <= 128 && module.mixVolume <= 128 && module.stereoSeparation <= 128,
            "global volume, mix volume or separation above 128");
    require(module.orders.size() <= ItMaxOrders, "too many orders");
    require(module.samples.size() <= MaxSamples, "too many samples");
    require(module.patterns.size() <= MaxPatterns, "too many patterns");
    for (std::uint8_t order : module.orders) {
        require(order == ItOrderSkip || order < module.patterns.size(),
                "order list names a missing pattern " + std::to_string(order));
    }
    for (std::size_t i = 0; i < module.samples.size(); ++i) {
        checkSample(module.samples[i], "sample " + std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        checkPattern(module.patterns[i], module.channelCount, module.samples.size(),
                     "pattern " + std::to_string(i));
    }
}

void writeHeader(ItBytes& out, const ItModule& module) {
    out.tag("IMPM");
    out.text(module.title, 26);
    out.u8(4);  // rows per beat, an editor's highlight only
    out.u8(16); // rows per measure
    out.u16(static_cast<std::uint32_t>(module.orders.size() + 1));
    out.u16(0); // instruments: none, the cells name samples
    out.u16(static_cast<std::uint32_t>(module.samples.size()));
    out.u16(static_cast<std::uint32_t>(module.patterns.size()));
    out.u16(CreatedWithVersion);
    out.u16(CompatibleWithVersion);
    out.u16(StereoMix | LinearSlides);
    out.u16(0); // no song message, no embedded MIDI configuration
    out.u8(module.globalVolume);
    out.u8(module.mixVolume);
    out.u8(module.initialSpeed);
    out.u8(module.initialTempo);
    out.u8(module.stereoSeparation);
    out.u8(0);  // pitch wheel depth
    out.u16(0); // message length
    out.u32(0); // message offset
    out.u32(0); // reserved
    for (int channel = 0; channel < ItMaxChannels; ++channel) {
        constexpr std::uint8_t Centre = 32;
        constexpr std::uint8_t Disabled = 128;
        if (channel >= module.channelCount) {
            out.u8(Centre | Disabled);
        } else if (module.channelPan.empty()) {
            out.u8(Centre);
        } else {
            out.u8(module.channelPan[static_cast<std::size_t>(channel)]);
        }
    }
    for (int channel = 0; channel < ItMaxChannels; ++channel) {
        out.u8(64);
    }
}

void writeSampleHeader(ItBytes& out, const ItSample& sample, std::uint32_t dataOffset) {
    std::uint8_t flags = sample.depth == ItSampleDepth::Bits16 ? Sample16Bit : 0;
    if (!sample.frames.empty()) {
        flags |= SampleHasData;
    }
    if (sample.loop) {
        flags |= SampleLoops;
    }
    out.tag("IMPS");
    out.zeros(12); // DOS file name
    out.u8(0);
    out.u8(sample.globalVolume);
    out.u8(flags);
    out.u8(sample.defaultVolume);
    out.text(sample.name, 26);
    out.u8(SignedFrames);
    out.u8(32); // default panning, unused (bit 7 clear)
    out.u32(static_cast<std::uint32_t>(sample.frames.size()));
    out.u32(sample.loop ? sample.loopStart : 0);
    out.u32(sample.loop ? sample.loopEnd : 0);
    out.u32(sample.rate);
    out.u32(0); // sustain loop start
    out.u32(0); // sustain loop end
    out.u32(dataOffset);
    out.u8(sample.vibratoSpeed);
    out.u8(sample.vibratoDepth);
    out.u8(sample.vibratoRate);
    out.u8(0); // vibrato waveform: sine
}

std::size_t sampleDataSize(const ItSample& sample) {
    return sample.frames.size() * (sample.depth == ItSampleDepth::Bits16 ? 2 : 1);
}

void writeSampleData(ItBytes& out, const ItSample& sample) {
    for (std::int16_t frame : sample.frames) {
        const auto bits = static_cast<std::uint16_t>(frame);
        if (sample.depth == ItSampleDepth::Bits16) {
            out.u16(bits);
        } else {
            out.u8(bits >> 8);
        }
    }
}

} // namespace

std::vector<std::uint8_t> writeItModule(const ItModule& module) {
    checkModule(module);

    std::vector<std::vector<std::uint8_t>> packedPatterns;
    for (const ItPattern& pattern : module.patterns) {
        packedPatterns.push_back(packItPattern(pattern));
        require(packedPatterns.back().size() <= MaxPackedPattern, "a pattern packs too large");
    }

    ItBytes out;
    writeHeader(out, module);
    require(out.size() == HeaderSize, "header layout");
    for (std::uint8_t order : module.orders) {
        out.u8(order);
    }
    out.u8(OrderListEnd);

    // Offsets: after the tables come the sample headers, then the patterns, then the sample data.
    const std::size_t sampleTableAt = out.size();
    out.zeros(4 * module.samples.size());
    const std::size_t patternTableAt = out.size();
    out.zeros(4 * module.patterns.size());

    std::size_t dataOffset = out.size() + SampleHeaderSize * module.samples.size();
    for (const std::vector<std::uint8_t>& packed : packedPatterns) {
        dataOffset += PatternHeaderSize + packed.size();
    }
    require(dataOffset < 0xFFFFFFFFu, "module too large");
    for (std::size_t i = 0; i < module.samples.size(); ++i) {
        out.patchU32(sampleTableAt + 4 * i, static_cast<std::uint32_t>(out.size()));
        writeSampleHeader(out, module.samples[i], static_cast<std::uint32_t>(dataOffset));
        dataOffset += sampleDataSize(module.samples[i]);
        require(dataOffset < 0xFFFFFFFFu, "module too large");
    }
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        out.patchU32(patternTableAt + 4 * i, static_cast<std::uint32_t>(out.size()));
        out.u16(static_cast<std::uint32_t>(packedPatterns[i].size()));
        out.u16(static_cast<std::uint32_t>(module.patterns[i].rows));
        out.u32(0); // reserved
        out.data.insert(out.data.end(), packedPatterns[i].begin(), packedPatterns[i].end());
    }
    for (const ItSample& sample : module.samples) {
        writeSampleData(out, sample);
    }
    return std::move(out.data);
}
