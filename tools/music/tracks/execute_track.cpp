// Execute.it, level 1: a light, bouncing tune in E dorian. A hollow square-wave lead with a
// late vibrato, a plucked bass, a string pad and a plain rock beat.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

TrackSounds executeSounds() {
    TrackSounds sounds;
    sounds.lead = sustainedTone({.name = "hollow lead",
                                 .harmonics = squareHarmonics(24),
                                 .baseNote = 72,
                                 .highestNote = 86,
                                 .attackSeconds = 0.01,
                                 .decaySeconds = 0.25,
                                 .sustainLevel = 0.75,
                                 .vibratoSpeed = 12,
                                 .vibratoDepth = 3,
                                 .vibratoRate = 24});
    sounds.pad = sustainedTone({.name = "strings",
                                .harmonics = sawHarmonics(24, 1.3),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 12.0,
                                .attackSeconds = 0.25,
                                .decaySeconds = 0.2,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "picked bass",
                                 .harmonics = sawHarmonics(14, 1.4),
                                 .baseNote = 36,
                                 .highestNote = 50,
                                 .attackSeconds = 0.004,
                                 .decaySeconds = 0.25,
                                 .sustainLevel = 0.5});
    sounds.arp = pluckedTone({.name = "pluck",
                              .harmonics = pulseHarmonics(16, 0.3),
                              .baseNote = 72,
                              .highestNote = 88,
                              .seconds = 0.7,
                              .decaySeconds = 0.22,
                              .brightnessDamping = 0.6});
    sounds.kick = kickDrum({.startHz = 140.0, .endHz = 50.0, .decaySeconds = 0.25});
    sounds.snare = snareDrum({.toneHz = 190.0, .noiseDecaySeconds = 0.13});
    sounds.closedHat = hiHat("closed hat", {.decaySeconds = 0.04, .seed = 5});
    sounds.openHat = hiHat("open hat", {.decaySeconds = 0.25, .seed = 6});
    sounds.crash = crashCymbal(1.8);
    sounds.perc = tomDrum(190.0, 110.0, 0.18);
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    return sounds;
}

constexpr Groove Opening{.kick = "x.......x.......", .hat = "x.x.x.x.x.x.x.x."};
constexpr Groove Beat{
    .kick = "x.....x...x.....", .snare = "....x.......x...", .hat = "x.o.x.o.x.o.x.o."};
constexpr Groove BeatFill{.kick = "x.....x...x.....",
                          .snare = "....x.......x.xx",
                          .hat = "x.o.x.o.x.o.....",
                          .perc = "..........x.x..."};
constexpr Groove HatsOnly{.hat = "x.x.x.x.x.x.x.x."};
constexpr Groove HatsRise{.snare = "........x.x.xxxx", .hat = "x.x.x.x........."};

constexpr const char* ThemeA =
    "5e 5e 1'q 7e 5e 3q | 4q. 6e 5q 4q | 5e 5e 1'q 2'e 1'e 7q | 6q. 5e 4h | "
    "3'q 2'e 1'e 7q 5q | 7q. 6e 4q 2q | 4q 6q 1'q 6q | 5h. rq";
constexpr const char* ThemeB = "3'h 2'q 1'q | 7h 6q 7q | 1'q. 7e 6h | 5w | "
                               "3'q 2'e 3'e 5'q 3'q | 2'h 1'q 7q | 6q 1'q 6q 4q | 5h 4q 2q";
constexpr const char* Bounce = "1..1..1.1...5...";

} // namespace

TrackPlan executeTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::levelTrack[1]);
    plan.title = "Tolvar: First Weights";
    plan.tempo = 112;
    plan.key = {.tonic = 4, .mode = Mode::Dorian};
    plan.leadTonic = 64;
    plan.padLow = 55;
    plan.bassLow = 33;
    plan.arpLow = 60;
    plan.mixVolume = 78; // peaks near -3 dB of full scale
    plan.sounds = executeSounds();
    plan.sections = {
        {.bars = 4,
         .chords = "1 4 1 4",
         .bass = Bounce,
         .groove = &Opening,
         .levels = {.pad = 20, .bass = 44, .drums = 40}},
        {.bars = 8,
         .chords = "1 4 1 4 3 7 4 4",
         .melody = ThemeA,
         .bass = Bounce,
         .groove = &Beat,
         .fill = &BeatFill,
         .levels = {.lead = 38, .pad = 22, .bass = 46, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "3 7 4 1 3 7 4 5",
         .melody = ThemeB,
         .bass = Bounce,
         .arp = "1.3.5.8.1.3.5.8.",
         .groove = &Beat,
         .fill = &BeatFill,
         .levels = {.lead = 40, .pad = 24, .bass = 46, .arp = 20, .drums = 44},
         .crash = true},
        {.bars = 4,
         .chords = "3 7 4 4",
         .bass = "1...............",
         .arp = "1358135813581358",
         .groove = &HatsOnly,
         .fill = &HatsRise,
         .levels = {.pad = 34, .bass = 40, .arp = 30, .drums = 36}},
        {.bars = 8,
         .chords = "1 4 1 4 3 7 4 4",
         .melody = ThemeA,
         .bass = Bounce,
         .arp = "1.3.5.8.1.3.5.8.",
         .groove = &Beat,
         .fill = &BeatFill,
         .levels = {.lead = 42, .pad = 24, .bass = 48, .arp = 16, .drums = 46},
         .crash = true},
        {.bars = 2,
         .chords = "1 4",
         .melody = "5h 4h | 6h 4h",
         .bass = Bounce,
         .groove = &Beat,
         .levels = {.lead = 40, .pad = 26, .bass = 46, .drums = 44}},
        {.bars = 2,
         .chords = "1",
         .melody = "1'w | ~w",
         .bass = "1...............",
         .levels = {.lead = 40, .pad = 28, .bass = 46, .drums = 46},
         .crash = true,
         .fadeOut = true},
    };
    return plan;
}
