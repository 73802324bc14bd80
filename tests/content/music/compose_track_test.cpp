// Turning a plan into patterns: where each part's notes land, how sections repeat and fade.
#include "track_plan.h"
#include "tracks/tracks.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr Groove FourKicks{.kick = "x...x...x...x..."};

Section verse() {
    return {.bars = 4,
            .chords = "1 4 5,4 1",
            .melody = "1q 3e 4e 5h | 1'w | rw | 5w",
            .bass = "1.......5.......",
            .groove = &FourKicks,
            .levels = {.lead = 40, .pad = 30, .bass = 50, .drums = 64},
            .crash = true};
}

TrackPlan cMajorPlan() {
    TrackPlan plan;
    plan.fileName = "test.it";
    plan.title = "test";
    plan.tempo = 100;
    plan.key = {.tonic = 0, .mode = Mode::Major};
    plan.leadTonic = 60;
    plan.padLow = 55;
    plan.bassLow = 36;
    plan.echoDelayRows = 3;
    plan.echoPercent = 50;
    Section ending = verse();
    ending.bars = 2;
    ending.melody = "5w | ~w";
    ending.fadeOut = true;
    plan.sections = {verse(), verse(), ending};
    return plan;
}

void expectNote(const ItCell& cell, int note, int sample, int volume) {
    EXPECT_EQ(cell.note, note);
    EXPECT_EQ(cell.sample, sample);
    EXPECT_EQ(cell.volume, volume);
}

TEST(ComposeTrack, PlacesEveryPartOnItsChannel) {
    const ItModule module = composeTrack(cMajorPlan());
    ASSERT_EQ(module.channelCount, TrackChannelCount);
    EXPECT_EQ(module.initialTempo, 100);
    EXPECT_EQ(module.samples.size(), 10u);
    const ItPattern& p = module.patterns.at(0);

    expectNote(itCellAt(p, 0, LeadChannel), 60, 1, 40);
    expectNote(itCellAt(p, 4, LeadChannel), 64, 1, 40);
    expectNote(itCellAt(p, 6, LeadChannel), 65, 1, 34); // off the beat a little softer
    expectNote(itCellAt(p, 3, EchoChannel), 60, 1, 20);
    EXPECT_EQ(itCellAt(p, 32, LeadChannel).note, ItNoteCut) << "a rest stops the melody";
    EXPECT_EQ(itCellAt(p, 35, EchoChannel).note, ItNoteCut) << "and its echo";

    // C major in the pad's octave from 55 up, lowest note on the lowest channel of the first set.
    expectNote(itCellAt(p, 0, PadChannel), 55, 2, 30);
    expectNote(itCellAt(p, 0, PadChannel + 1), 60, 2, 30);
    expectNote(itCellAt(p, 0, PadChannel + 2), 64, 2, 30);
    EXPECT_EQ(itCellAt(p, 1, PadChannel).note, ItNoNote) << "a held chord is not struck again";
    // F major on the second set; the first fades out under it and stops.
    expectNote(itCellAt(p, 16, PadChannel + 3), 57, 2, 30);
    EXPECT_EQ(itCellAt(p, 17, PadChannel).volume, 20);
    EXPECT_EQ(itCellAt(p, 18, PadChannel).volume, 10);
    EXPECT_EQ(itCellAt(p, 19, PadChannel).note, ItNoteCut);
    // "5,4": G major, then F major half way through the bar, sets taking turns.
    EXPECT_EQ(itCellAt(p, 32, PadChannel).note, 55);
    EXPECT_EQ(itCellAt(p, 32, PadChannel + 2).note, 62);
    EXPECT_EQ(itCellAt(p, 40, PadChannel + 3).note, 57);
    EXPECT_EQ(itCellAt(p, 40, PadChannel + 5).note, 65);

    expectNote(itCellAt(p, 0, BassChannel), 36, 3, 50);
    EXPECT_EQ(itCellAt(p, 8, BassChannel).note, 43) << "the fifth of C";
    EXPECT_EQ(itCellAt(p, 40, BassChannel).note, 48) << "the fifth of F, the chord of the moment";

    for (int row = 0; row < 64; ++row) {
        const bool beat = row % 4 == 0;
        EXPECT_EQ(itCellAt(p, row, KickChannel).note, beat ? ItMiddleC : ItNoNote) << row;
    }
    EXPECT_EQ(itCellAt(p, 0, KickChannel).sample, 5);
    expectNote(itCellAt(p, 0, CrashChannel), ItMiddleC, 9, 64);
    EXPECT_EQ(itCellAt(p, 0, ArpChannel).note, ItNoteCut) << "no arpeggio line: nothing plays";
}

TEST(ComposeTrack, SharesRepeatedPatternsAndFadesTheEnding) {
    TrackPlan plan = cMajorPlan();
    for (Section& section : plan.sections) {
        section.levels.pad = 0; // the pad's turn-taking would make the two verses differ
    }
    const ItModule module = composeTrack(plan);
    ASSERT_EQ(module.patterns.size(), 2u);
    EXPECT_EQ(module.orders, (std::vector<std::uint8_t>{0, 0, 1}));
    const ItPattern& ending = module.patterns[1];
    ASSERT_EQ(ending.rows, 32);

    int previous = 64;
    for (int row = 0; row < 32; ++row) {
        const ItCell& lead = itCellAt(ending, row, LeadChannel);
        ASSERT_NE(lead.volume, ItNoVolume) << "every row of the fade sets the held note's volume";
        EXPECT_LE(lead.volume, previous) << row;
        previous = lead.volume;
    }
    for (int channel = 0; channel < TrackChannelCount; ++channel) {
        const ItCell& last = itCellAt(ending, 31, channel);
        EXPECT_TRUE(last.volume == 0 || last.note == ItNoteCut ||
                    (last.volume == ItNoVolume && last.note == ItNoNote))
            << "channel " << channel << " still sounds";
    }
    for (int channel : {LeadChannel, BassChannel, CrashChannel}) {
        EXPECT_EQ(itCellAt(ending, 31, channel).volume, 0) << "channel " << channel;
    }
    EXPECT_NO_THROW(writeItModule(module));
}

TEST(ComposeTrack, RefusesPlansThatDoNotAddUp) {
    const auto refused = [](void (*spoil)(TrackPlan&)) {
        TrackPlan plan = cMajorPlan();
        spoil(plan);
        EXPECT_THROW(composeTrack(plan), std::invalid_argument);
    };
    refused([](TrackPlan& p) { p.sections[2].bars = 1; });                // 9 bars
    refused([](TrackPlan& p) { p.sections[0].melody = "1w | 1w | 1w"; }); // 3 bars into 4
    refused([](TrackPlan& p) { p.sections[0].chords = "1 9"; });
    refused([](TrackPlan& p) { p.sections[0].chords = "1,4,5"; });
    refused([](TrackPlan& p) { p.sections[0].bass = "1......"; });
    refused([](TrackPlan& p) { p.sections[0].bass = "1.......q......."; });
    refused([](TrackPlan& p) {
        static constexpr Groove Short{.kick = "x...x..."};
        p.sections[0].groove = &Short;
    });
    refused([](TrackPlan& p) { p.sections.clear(); });
    refused([](TrackPlan& p) { p.tempo = 256; });
    refused([](TrackPlan& p) { p.sections[1].levels.lead = 65; });
    refused([](TrackPlan& p) { p.padCrossfadeRows = 8; });
}

TEST(TrackPlans, TempoRisesFromTheMenuThroughTheLevels) {
    const std::vector<TrackPlan> tracks = allTracks();
    ASSERT_EQ(tracks.size(), 6u);
    const char* names[] = {"menumusa.it", "Execute.it", "NOONE.it",
                           "67.it",       "LAST.it",    "BLACKSMI.it"};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        EXPECT_EQ(tracks[i].fileName, names[i]);
        if (i > 0) {
            EXPECT_GT(tracks[i].tempo, tracks[i - 1].tempo) << names[i];
        }
        EXPECT_TRUE(tracks[i].sections.back().fadeOut) << names[i] << " ends by fading out";
    }
}

} // namespace
