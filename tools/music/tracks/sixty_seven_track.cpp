// 67.it, level 3: a tense, syncopated tune in A minor. A nasal pulse lead, a busy bass, a dark
// pad, sixteenth hats and tom fills; the break builds on a snare roll.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

TrackSounds sixtySevenSounds() {
    TrackSounds sounds;
    sounds.lead = sustainedTone({.name = "pulse lead",
                                 .harmonics = pulseHarmonics(32, 0.25),
                                 .baseNote = 72,
                                 .highestNote = 84,
                                 .voices = 2,
                                 .detuneCents = 8.0,
                                 .attackSeconds = 0.006,
                                 .decaySeconds = 0.2,
                                 .sustainLevel = 0.8,
                                 .vibratoSpeed = 16,
                                 .vibratoDepth = 3,
                                 .vibratoRate = 40});
    sounds.pad = sustainedTone({.name = "dark pad",
                                .harmonics = sawHarmonics(20, 1.6),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 18.0,
                                .attackSeconds = 0.15,
                                .decaySeconds = 0.2,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "square bass",
                                 .harmonics = squareHarmonics(15),
                                 .baseNote = 36,
                                 .highestNote = 52,
                                 .attackSeconds = 0.003,
                                 .decaySeconds = 0.12,
                                 .sustainLevel = 0.55});
    sounds.arp = pluckedTone({.name = "bright pluck",
                              .harmonics = sawHarmonics(16),
                              .baseNote = 72,
                              .highestNote = 88,
                              .seconds = 0.5,
                              .decaySeconds = 0.16,
                              .brightnessDamping = 0.5});
    sounds.kick = kickDrum({.startHz = 160.0, .endHz = 48.0, .decaySeconds = 0.26});
    sounds.snare = snareDrum({.toneHz = 180.0, .noiseDecaySeconds = 0.15, .toneLevel = 0.45});
    sounds.closedHat = hiHat("closed hat", {.decaySeconds = 0.03, .lowHz = 7000.0, .seed = 9});
    sounds.openHat = hiHat("open hat", {.decaySeconds = 0.22, .lowHz = 7000.0, .seed = 10});
    sounds.crash = crashCymbal(2.0);
    sounds.perc = tomDrum(160.0, 95.0, 0.2);
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    sounds.bass.globalVolume = 44; // the square bass is loud for its level
    return sounds;
}

constexpr Groove Pulse{.kick = "x.....x.x.....x.", .hat = "x.x.x.x.x.x.x.x."};
constexpr Groove Drive{
    .kick = "x.....x.x.....x.", .snare = "....x.......x...", .hat = "XoxoXoxoXoxoXoxo"};
constexpr Groove DriveFill{.kick = "x.....x.x.......",
                           .snare = "....x.......x...",
                           .hat = "XoxoXoxoXoxo....",
                           .perc = "..........x.x.xx"};
constexpr Groove Waiting{.hat = "x.x.x.x.x.x.x.x."};
constexpr Groove Roll{.snare = "o.o.o.o.xxxxXXXX", .hat = "x.x.x.x........."};

constexpr const char* ThemeA =
    "1'e 1'e 5q 1'e 2'e 3'q | 2'e 1'e 7q 5h | 3'e 3'e 1'q 6e 1'e 3'q | 4'q. 3'e 2'h | "
    "1'e 1'e 5q 1'e 2'e 3'q | 5'q. 4'e 3'q 1'q | 4'q 3'e 4'e 6'q 4'q | 5'h. #7q";
constexpr const char* ThemeB =
    "6e 1'e 3'e 6'q 5'e 3'q | 7e 2'e 4'e 7'q 6'e 4'q | 5'h 3'q 1'q | 2'q 3'q 1'h | "
    "6'q. 5'e 3'q 1'q | 7'q. 6'e 4'q 2'q | #7q 2'q 5'h | 5'h 4'q #7q";
constexpr const char* BusyBass = "1.118.1.1.118.5.";
constexpr const char* Climb = "1358853113588531";

} // namespace

TrackPlan sixtySevenTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::levelTrack[3]);
    plan.title = "Tolvar: Sixty-Seven";
    plan.tempo = 132;
    plan.key = {.tonic = 9, .mode = Mode::Minor};
    plan.leadTonic = 57;
    plan.padLow = 52;
    plan.bassLow = 33;
    plan.arpLow = 57;
    plan.mixVolume = 80; // peaks near -3 dB of full scale
    plan.sounds = sixtySevenSounds();
    plan.sections = {
        {.bars = 4,
         .chords = "1 1 6 7",
         .bass = BusyBass,
         .groove = &Pulse,
         .levels = {.pad = 18, .bass = 44, .drums = 42}},
        {.bars = 8,
         .chords = "1 1 6 7 1 1 4 5M",
         .melody = ThemeA,
         .bass = BusyBass,
         .groove = &Drive,
         .fill = &DriveFill,
         .levels = {.lead = 52, .pad = 20, .bass = 44, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "6 7 1 1 6 7 5M 5M",
         .melody = ThemeB,
         .bass = BusyBass,
         .arp = Climb,
         .groove = &Drive,
         .fill = &DriveFill,
         .levels = {.lead = 54, .pad = 22, .bass = 44, .arp = 16, .drums = 44},
         .crash = true},
        {.bars = 4,
         .chords = "4 4 5M 5M",
         .bass = "1.......1.......",
         .arp = Climb,
         .groove = &Waiting,
         .fill = &Roll,
         .levels = {.pad = 32, .bass = 40, .arp = 30, .drums = 40}},
        {.bars = 8,
         .chords = "1 1 6 7 1 1 4 5M",
         .melody = ThemeA,
         .bass = BusyBass,
         .arp = Climb,
         .groove = &Drive,
         .fill = &DriveFill,
         .levels = {.lead = 54, .pad = 22, .bass = 46, .arp = 14, .drums = 46},
         .crash = true},
        {.bars = 8,
         .chords = "6 7 1 1 6 7 5M 5M",
         .melody = ThemeB,
         .bass = BusyBass,
         .arp = Climb,
         .groove = &Drive,
         .fill = &DriveFill,
         .levels = {.lead = 56, .pad = 24, .bass = 46, .arp = 18, .drums = 46},
         .crash = true},
        {.bars = 2,
         .chords = "6 5M",
         .melody = "3'h 1'h | #7h 2'h",
         .bass = BusyBass,
         .groove = &Drive,
         .levels = {.lead = 54, .pad = 24, .bass = 44, .drums = 44}},
        {.bars = 2,
         .chords = "1",
         .melody = "1'w | ~w",
         .bass = "1...............",
         .levels = {.lead = 54, .pad = 28, .bass = 44, .drums = 46},
         .crash = true,
         .fadeOut = true},
    };
    return plan;
}
