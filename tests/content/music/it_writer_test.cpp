// The module writer on its own: the bytes it lays down, what libopenmpt reads back from them, and
// the modules it refuses.
#include "it_writer.h"
#include "module_render.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <functional>
#include <sstream>
#include <stdexcept>

namespace {

std::uint32_t readU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | (bytes.at(at + 1) << 8);
}

std::uint32_t readU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return readU16(bytes, at) | (readU16(bytes, at + 2) << 16);
}

double loadedSeconds(const std::vector<std::uint8_t>& bytes) {
    std::ostringstream log;
    return openmpt::module(bytes, log).get_duration_seconds();
}

ItSample rampSample(ItSampleDepth depth) {
    ItSample sample;
    sample.name = "ramp";
    sample.depth = depth;
    sample.rate = 22050;
    for (int i = 0; i < 300; ++i) {
        sample.frames.push_back(static_cast<std::int16_t>(i * 200 - 30000));
    }
    return sample;
}

// Two channels, two samples, two patterns played as 1, 0.
ItModule smallModule() {
    ItModule module;
    module.title = "small";
    module.channelCount = 2;
    module.initialSpeed = 4;
    module.initialTempo = 150;
    module.globalVolume = 100;
    module.mixVolume = 60;
    module.samples = {rampSample(ItSampleDepth::Bits16), rampSample(ItSampleDepth::Bits8)};
    module.patterns = {makeItPattern(32, 2), makeItPattern(48, 2)};
    itCellAt(module.patterns[0], 0, 0) = {.note = 60, .sample = 1, .volume = 40};
    itCellAt(module.patterns[1], 0, 1) = {.note = 48, .sample = 2, .volume = 64};
    module.orders = {1, 0};
    return module;
}

TEST(ToneModule, PlaysForAboutTheAskedTimeAndEnds) {
    for (double seconds : {0.05, 0.5, 2.0, 30.0}) {
        const std::vector<std::uint8_t> bytes = writeItModule(makeToneModule(seconds));
        EXPECT_NEAR(loadedSeconds(bytes), seconds, 0.01) << seconds;
    }
    const RenderedSong song = renderSong(writeItModule(makeToneModule(0.5)));
    EXPECT_NEAR(static_cast<double>(song.frames.size() / 2) / RenderRate, 0.5, 0.15);
    EXPECT_GT(rmsLevel(song.frames, RenderRate / 10, RenderRate / 5), 0.05)
        << "the tone is not heard";
    EXPECT_NEAR(crossingFrequency(song.frames, RenderRate / 10, RenderRate / 4), 261.63, 1.5)
        << "middle C";
    EXPECT_LT(peakLevel(song.frames), 1.0);
    EXPECT_TRUE(song.endedCleanly);
}

TEST(ToneModule, ClampsLengthsItCannotPlay) {
    EXPECT_NEAR(loadedSeconds(writeItModule(makeToneModule(0.0))), 0.01, 0.005);
    EXPECT_NEAR(loadedSeconds(writeItModule(makeToneModule(-3.0))), 0.01, 0.005);
    EXPECT_NEAR(loadedSeconds(writeItModule(makeToneModule(1e9))), 480.0, 1.0);
}

TEST(ItWriter, HeaderFieldsSitAtTheirDocumentedOffsets) {
    const ItModule module = smallModule();
    const std::vector<std::uint8_t> bytes = writeItModule(module);
    ASSERT_GT(bytes.size(), 0xC0u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "IMPM");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "small");
    EXPECT_EQ(readU16(bytes, 0x20), 3u) << "two orders and the end marker";
    EXPECT_EQ(readU16(bytes, 0x22), 0u) << "no instruments";
    EXPECT_EQ(readU16(bytes, 0x24), 2u);
    EXPECT_EQ(readU16(bytes, 0x26), 2u);
    EXPECT_EQ(bytes[0x30], 100);
    EXPECT_EQ(bytes[0x31], 60);
    EXPECT_EQ(bytes[0x32], 4);
    EXPECT_EQ(bytes[0x33], 150);
    EXPECT_EQ(bytes[0x40], 32) << "channel 1 centred";
    EXPECT_EQ(bytes[0x42] & 0x80, 0x80) << "channel 3 disabled";
    EXPECT_EQ(bytes[0xC0], 1);
    EXPECT_EQ(bytes[0xC1], 0);
    EXPECT_EQ(bytes[0xC2], 255);
}

TEST(ItWriter, SampleHeadersPointAtTheFramesIn16And8Bits) {
    const ItModule module = smallModule();
    const std::vector<std::uint8_t> bytes = writeItModule(module);
    const std::size_t sampleTable = 0xC0 + module.orders.size() + 1;
    for (std::size_t s = 0; s < 2; ++s) {
        const std::uint32_t header = readU32(bytes, sampleTable + 4 * s);
        EXPECT_EQ(std::string(bytes.begin() + header, bytes.begin() + header + 4), "IMPS");
        EXPECT_EQ(readU32(bytes, header + 0x30), 300u) << "length";
        EXPECT_EQ(readU32(bytes, header + 0x3C), 22050u) << "rate";
        const std::uint32_t data = readU32(bytes, header + 0x48);
        const ItSample& sample = module.samples[s];
        for (std::size_t i = 0; i < sample.frames.size(); i += 37) {
            if (sample.depth == ItSampleDepth::Bits16) {
                EXPECT_EQ(static_cast<std::int16_t>(readU16(bytes, data + 2 * i)),
                          sample.frames[i]);
            } else {
                EXPECT_EQ(static_cast<std::int8_t>(bytes.at(data + i)), sample.frames[i] >> 8);
            }
        }
    }
    // The 8-bit sample's data is the last thing in the file.
    const std::uint32_t lastHeader = readU32(bytes, sampleTable + 4);
    EXPECT_EQ(readU32(bytes, lastHeader + 0x48) + 300u, bytes.size());
}

TEST(ItWriter, PackedCellsReadBackAsWritten) {
    ItModule module;
    module.channelCount = 3;
    module.samples = {rampSample(ItSampleDepth::Bits16), rampSample(ItSampleDepth::Bits16)};
    ItPattern pattern = makeItPattern(40, 3);
    // Repeated values on purpose: the packing reuses a channel's previous note, sample, volume,
    // effect and mask, and each must still come back whole.
    for (int row = 0; row < 40; ++row) {
        for (int channel = 0; channel < 3; ++channel) {
            if ((row + channel) % 3 == 0) {
                continue;
            }
            ItCell& cell = itCellAt(pattern, row, channel);
            cell.note = (row % 4 == 0) ? 60 : 48 + (row / 5) % 3;
            cell.sample = 1 + (row / 7) % 2;
            cell.volume = row % 6 == 0 ? ItNoVolume : 32 + (row / 3) % 2;
            if (row % 5 == 1) {
                cell.effect = itEffect('D');
                cell.parameter = static_cast<std::uint8_t>(row % 10 < 5 ? 0x10 : 0x01);
            }
        }
    }
    itCellAt(pattern, 39, 0).note = ItNoteCut;
    itCellAt(pattern, 38, 1).note = ItNoteOff;
    module.patterns = {pattern};
    module.orders = {0};

    std::ostringstream log;
    openmpt::module song(writeItModule(module), log);
    ASSERT_EQ(song.get_pattern_num_rows(0), 40);
    for (int row = 0; row < 40; ++row) {
        for (int channel = 0; channel < 3; ++channel) {
            const ItCell& cell = itCellAt(pattern, row, channel);
            const auto read = [&](int command) {
                return static_cast<int>(
                    song.get_pattern_row_channel_command(0, row, channel, command));
            };
            const std::string where =
                "row " + std::to_string(row) + " channel " + std::to_string(channel);
            // libopenmpt counts notes from 1; cut (254) and off (255) keep their codes.
            const int expectedNote = cell.note == ItNoNote ? 0
                                     : cell.note >= 254    ? cell.note
                                                           : cell.note + 1;
            EXPECT_EQ(read(openmpt::module::command_note), expectedNote) << where;
            EXPECT_EQ(read(openmpt::module::command_instrument), cell.sample) << where;
            if (cell.volume != ItNoVolume) {
                EXPECT_EQ(read(openmpt::module::command_volume), cell.volume) << where;
            } else {
                EXPECT_EQ(read(openmpt::module::command_volumeffect), 0) << where;
            }
            const std::string effect = song.format_pattern_row_channel_command(
                0, row, channel, openmpt::module::command_effect);
            if (cell.effect != 0) {
                EXPECT_EQ(effect, "D") << where;
                EXPECT_EQ(read(openmpt::module::command_parameter), cell.parameter) << where;
            } else {
                EXPECT_EQ(effect, ".") << where;
            }
        }
    }
}

TEST(ItWriter, RefusesModulesThatBreakTheFormat) {
    const auto refused = [](const std::function<void(ItModule&)>& spoil) {
        ItModule module = smallModule();
        spoil(module);
        EXPECT_THROW(writeItModule(module), std::invalid_argument);
    };
    EXPECT_NO_THROW(writeItModule(smallModule()));
    refused([](ItModule& m) { m.orders.push_back(2); });                    // no pattern 2
    refused([](ItModule& m) { itCellAt(m.patterns[0], 1, 1).sample = 3; }); // no sample 3
    refused([](ItModule& m) { itCellAt(m.patterns[0], 1, 1).note = 120; });
    refused([](ItModule& m) { itCellAt(m.patterns[0], 1, 1).volume = 213; });
    refused([](ItModule& m) { itCellAt(m.patterns[0], 1, 1).effect = 27; });
    refused([](ItModule& m) { itCellAt(m.patterns[0], 1, 1).parameter = 5; }); // without an effect
    refused([](ItModule& m) { m.patterns[1].channels = 3; });
    refused([](ItModule& m) { m.patterns[1].cells.pop_back(); });
    refused([](ItModule& m) { m.patterns[1].rows = 201; });
    refused([](ItModule& m) { m.channelCount = 65; });
    refused([](ItModule& m) { m.channelPan = {32}; });
    refused([](ItModule& m) { m.initialTempo = 31; });
    refused([](ItModule& m) { m.initialSpeed = 0; });
    refused([](ItModule& m) {
        m.samples[0].loop = true;
        m.samples[0].loopStart = 10;
        m.samples[0].loopEnd = 301; // one past the sample's end
    });
    refused([](ItModule& m) {
        m.samples[0].loop = true;
        m.samples[0].loopStart = 10;
        m.samples[0].loopEnd = 10;
    });
    refused([](ItModule& m) { m.samples[1].defaultVolume = 65; });
    refused([](ItModule& m) { m.orders.assign(256, 0); });
}

TEST(ItWriter, CellAccessIsBoundsChecked) {
    ItPattern pattern = makeItPattern(32, 2);
    EXPECT_NO_THROW(itCellAt(pattern, 31, 1));
    EXPECT_THROW(itCellAt(pattern, 32, 0), std::out_of_range);
    EXPECT_THROW(itCellAt(pattern, 0, 2), std::out_of_range);
    EXPECT_THROW(itCellAt(pattern, -1, 0), std::out_of_range);
    pattern.cells.resize(10);
    EXPECT_THROW(itCellAt(pattern, 5, 0), std::out_of_range);
    EXPECT_THROW(makeItPattern(0, 2), std::invalid_argument);
    EXPECT_THROW(makeItPattern(32, 65), std::invalid_argument);
}

} // namespace
