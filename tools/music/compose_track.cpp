// Lays a track plan's sections out row by row on one long grid, then cuts the grid into patterns.
#include "part_placement.h"
#include "section_chords.h"
#include "song_grid.h"
#include "track_plan.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace {

constexpr int PatternRows = 4 * RowsPerBar;

// Melody, bass and kick in the middle; the echo to the right; each pad set spread from left to
// right; the arpeggio to the left against the hats on the right.
constexpr std::array<std::uint8_t, TrackChannelCount> ChannelPan{32, 46, 18, 32, 46, 18, 32, 46,
                                                                 32, 14, 32, 30, 42, 22, 38};

void checkPlan(const TrackPlan& plan) {
    const auto require = [](bool condition, const char* what) {
        if (!condition) {
            throw std::invalid_argument(std::string("track plan: ") + what);
        }
    };
    require(plan.tempo >= 32 && plan.tempo <= 255, "tempo outside 32..255");
    require(plan.mixVolume >= 0 && plan.mixVolume <= 128, "mix volume outside 0..128");
    require(plan.echoDelayRows >= 1 && plan.echoPercent >= 0 && plan.echoPercent <= 100,
            "echo outside its range");
    require(plan.padCrossfadeRows >= 0 && plan.padCrossfadeRows < RowsPerBar / 2,
            "pad crossfade outside 0..7 rows");
    int totalBars = 0;
    for (const Section& section : plan.sections) {
        const Levels& levels = section.levels;
        for (int level : {levels.lead, levels.pad, levels.bass, levels.arp, levels.drums}) {
            require(level >= 0 && level <= 64, "a level outside 0..64");
        }
        require(section.bars >= 1, "a section without bars");
        totalBars += section.bars;
    }
    // Every pattern, the last one too, then holds at least the 32 rows players expect.
    require(totalBars > 0 && totalBars % 2 == 0, "a track needs an even, non-zero number of bars");
}

void checkGroove(const Groove* groove) {
    if (groove != nullptr) {
        requireSteps(groove->kick, "kick");
        requireSteps(groove->snare, "snare");
        requireSteps(groove->hat, "hat");
        requireSteps(groove->perc, "perc");
    }
}

void placeSection(SongGrid& grid, const TrackPlan& plan, const Section& section, int firstRow,
                  PadState& pad) {
    const SectionChords chords = readSectionChords(section.chords, plan.key);
    const Levels& levels = section.levels;

    if (section.melody != nullptr && levels.lead > 0) {
        placeMelody(grid, plan, section, firstRow);
    } else {
        cutNote(grid, firstRow, LeadChannel);
        cutNote(grid, firstRow + plan.echoDelayRows, EchoChannel);
    }
    if (levels.pad > 0) {
        placePad(grid, chords, section.bars, firstRow, plan, levels.pad, pad);
    } else {
        for (int channel = PadChannel; channel < PadChannel + 2 * PadSetSize; ++channel) {
            cutNote(grid, firstRow, channel);
        }
        pad.previousSounding = false;
    }
    requireSteps(section.bass, "bass");
    if (section.bass != nullptr && levels.bass > 0) {
        placeChordLine(grid, section.bass, chords, section.bars, firstRow, BassChannel, BassSample,
                       plan.bassLow, levels.bass);
    } else {
        cutNote(grid, firstRow, BassChannel);
    }
    requireSteps(section.arp, "arp");
    if (section.arp != nullptr && levels.arp > 0) {
        placeChordLine(grid, section.arp, chords, section.bars, firstRow, ArpChannel, ArpSample,
                       plan.arpLow, levels.arp);
    } else {
        cutNote(grid, firstRow, ArpChannel);
    }
    checkGroove(section.groove);
    checkGroove(section.fill);
    for (int bar = 0; bar < section.bars; ++bar) {
        const bool lastBar = bar == section.bars - 1;
        const Groove* groove = lastBar && section.fill != nullptr ? section.fill : section.groove;
        if (groove == nullptr || levels.drums == 0) {
            continue;
        }
        const int row = firstRow + bar * StepsPerBar;
        placeDrumLine(grid, groove->kick, row, KickChannel, KickSample, levels.drums);
        placeDrumLine(grid, groove->snare, row, SnareChannel, SnareSample, levels.drums);
        placeDrumLine(grid, groove->hat, row, HatChannel, ClosedHatSample, levels.drums);
        placeDrumLine(grid, groove->perc, row, PercChannel, PercSample, levels.drums);
    }
    if (section.crash) {
        playNote(grid, firstRow, CrashChannel, ItMiddleC, CrashSample,
                 levels.drums > 0 ? levels.drums : 48);
    }
}

bool sameCell(const ItCell& a, const ItCell& b) {
    return a.note == b.note && a.sample == b.sample && a.volume == b.volume &&
           a.effect == b.effect && a.parameter == b.parameter;
}

bool samePattern(const ItPattern& a, const ItPattern& b) {
    return a.rows == b.rows &&
           std::equal(a.cells.begin(), a.cells.end(), b.cells.begin(), sameCell);
}

} // namespace

ItModule composeTrack(const TrackPlan& plan) {
    checkPlan(plan);
    int totalBars = 0;
    for (const Section& section : plan.sections) {
        totalBars += section.bars;
    }
    SongGrid grid(totalBars * RowsPerBar);
    int row = 0;
    PadState pad;
    for (const Section& section : plan.sections) {
        placeSection(grid, plan, section, row, pad);
        row += section.bars * RowsPerBar;
    }
    row = 0;
    for (const Section& section : plan.sections) {
        if (section.fadeOut) {
            fadeSection(grid, row, section.bars * RowsPerBar);
        }
        row += section.bars * RowsPerBar;
    }

    ItModule module;
    module.title = plan.title;
    module.channelCount = TrackChannelCount;
    module.channelPan.assign(ChannelPan.begin(), ChannelPan.end());
    module.initialSpeed = 6;
    module.initialTempo = static_cast<std::uint8_t>(plan.tempo);
    module.mixVolume = static_cast<std::uint8_t>(plan.mixVolume);
    const TrackSounds& sounds = plan.sounds;
    module.samples = {sounds.lead,  sounds.pad,       sounds.bass,    sounds.arp,   sounds.kick,
                      sounds.snare, sounds.closedHat, sounds.openHat, sounds.crash, sounds.perc};

    for (int first = 0; first < grid.rows; first += PatternRows) {
        const int rows = std::min(PatternRows, grid.rows - first);
        ItPattern pattern = makeItPattern(rows, TrackChannelCount);
        std::copy_n(grid.cells.begin() + static_cast<std::ptrdiff_t>(first) * TrackChannelCount,
                    static_cast<std::size_t>(rows) * TrackChannelCount, pattern.cells.begin());
        const auto found =
            std::find_if(module.patterns.begin(), module.patterns.end(),
                         [&](const ItPattern& known) { return samePattern(known, pattern); });
        if (found != module.patterns.end()) {
            module.orders.push_back(static_cast<std::uint8_t>(found - module.patterns.begin()));
        } else {
            module.orders.push_back(static_cast<std::uint8_t>(module.patterns.size()));
            module.patterns.push_back(std::move(pattern));
        }
    }
    return module;
}
