// menumusa.it: an unhurried tune in F major for the menus. An FM electric piano carries the
// melody over a soft pad, a harp-like arpeggio, a round bass, a shaker and rim clicks.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

TrackSounds menuSounds() {
    TrackSounds sounds;
    sounds.lead = fmTone({.name = "electric piano",
                          .baseNote = 72,
                          .seconds = 2.4,
                          .decaySeconds = 0.9,
                          .modulatorRatio = 1.0,
                          .modulationIndex = 1.3,
                          .indexDecaySeconds = 0.35,
                          .tineRatio = 7.0,
                          .tineLevel = 0.12});
    sounds.pad = sustainedTone({.name = "warm pad",
                                .harmonics = sawHarmonics(24, 1.6),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 14.0,
                                .attackSeconds = 0.45,
                                .decaySeconds = 0.3,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "round bass",
                                 .harmonics = {1.0, 0.3, 0.08},
                                 .baseNote = 36,
                                 .highestNote = 52,
                                 .attackSeconds = 0.01,
                                 .decaySeconds = 0.4,
                                 .sustainLevel = 0.6});
    sounds.arp = pluckedTone({.name = "harp",
                              .harmonics = sawHarmonics(16, 1.5),
                              .baseNote = 72,
                              .highestNote = 88,
                              .seconds = 1.2,
                              .decaySeconds = 0.45,
                              .brightnessDamping = 0.5});
    sounds.kick = kickDrum({.startHz = 110.0, .endHz = 45.0, .decaySeconds = 0.3, .click = 0.1});
    sounds.snare = snareDrum(
        {.toneHz = 170.0, .noiseDecaySeconds = 0.2, .noiseLowHz = 800.0, .toneLevel = 0.2});
    sounds.closedHat = hiHat(
        "shaker",
        {.decaySeconds = 0.03, .lowHz = 4000.0, .metal = 0.0, .attackSeconds = 0.012, .seed = 3});
    sounds.openHat = hiHat(
        "long shaker",
        {.decaySeconds = 0.09, .lowHz = 4000.0, .metal = 0.0, .attackSeconds = 0.02, .seed = 4});
    sounds.crash = crashCymbal(2.4);
    sounds.perc = rimClick();
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    return sounds;
}

constexpr Groove Shaker{
    .kick = "x.........x.....", .hat = "x-o-x-o-x-o-x-o-", .perc = "....o.......o..."};
constexpr Groove ShakerAndBrush{.kick = "x.........x...o.",
                                .snare = "....o.......o...",
                                .hat = "x-o-x-o-x-o-x-o-",
                                .perc = "..........o....."};
constexpr Groove ShakerTurn{
    .kick = "x.........x.....", .snare = "....o.......o-oo", .hat = "x-o-x-o-x-o-O..."};

constexpr const char* ThemeA = "3q 5q 1'h | 7q 1'e 7e 5h | 6q. 5e 6q 1'q | 7h 5h | "
                               "4q 6q 1'q 6q | 5h. 3q | 4q 6e 5e 4q 2q | 2q 7,q 5,h";
constexpr const char* ThemeB = "1'q. 6e 4h | 2'q. 7e 5h | 3'q 2'e 1'e 7q 5q | 6h. 1'q | "
                               "2'q 1'q 6q 4q | 5q 7q 2'h | 1'w | rh 5e 6e 7e 1'e";
constexpr const char* ThemeAHome = "3q 5q 1'h | 7q 1'e 7e 5h | 6q. 5e 6q 1'q | 7h 5h | "
                                   "4q 6q 1'q 6q | 5h. 3q | 2q 7,e 1e 2q 5q | 1w";

constexpr const char* Harp = "1.5.8.0.8.5.3.5.";

} // namespace

TrackPlan menuTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::menuTrack);
    plan.title = "Tolvar: Still Board";
    plan.tempo = 88;
    plan.key = {.tonic = 5, .mode = Mode::Major};
    plan.leadTonic = 65;
    plan.padLow = 53;
    plan.bassLow = 31;
    plan.arpLow = 60;
    plan.padCrossfadeRows = 3; // as long as the pad's slow attack
    plan.mixVolume = 70;       // peaks near -3 dB of full scale
    plan.sounds = menuSounds();
    plan.sections = {
        {.bars = 4,
         .chords = "1 4 6 5",
         .bass = "1...............",
         .arp = Harp,
         .levels = {.pad = 30, .bass = 30, .arp = 34}},
        {.bars = 8,
         .chords = "1 5 6 3 4 1 2 5",
         .melody = ThemeA,
         .bass = "1.......5.......",
         .arp = Harp,
         .groove = &Shaker,
         .fill = &ShakerTurn,
         .levels = {.lead = 48, .pad = 24, .bass = 40, .arp = 22, .drums = 34}},
        {.bars = 8,
         .chords = "4 5 3 6 2 5 1 1",
         .melody = ThemeB,
         .bass = "1.......1...5...",
         .arp = Harp,
         .groove = &ShakerAndBrush,
         .fill = &ShakerTurn,
         .levels = {.lead = 50, .pad = 28, .bass = 42, .arp = 24, .drums = 38},
         .crash = true},
        {.bars = 8,
         .chords = "1 5 6 3 4 1 5 1",
         .melody = ThemeAHome,
         .bass = "1.......5.......",
         .arp = Harp,
         .groove = &ShakerAndBrush,
         .levels = {.lead = 52, .pad = 26, .bass = 42, .arp = 24, .drums = 38},
         .crash = true},
        {.bars = 2,
         .chords = "4 5",
         .melody = "6h 4h | 7h 5h",
         .bass = "1...............",
         .arp = Harp,
         .groove = &Shaker,
         .levels = {.lead = 44, .pad = 28, .bass = 36, .arp = 24, .drums = 26}},
        {.bars = 2,
         .chords = "1",
         .melody = "1'w | ~w",
         .bass = "1...............",
         .arp = "1.5.8.0.8.......",
         .levels = {.lead = 46, .pad = 30, .bass = 38, .arp = 22, .drums = 30},
         .crash = true,
         .fadeOut = true},
    };
    return plan;
}
