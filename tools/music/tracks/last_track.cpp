// LAST.it, level 4: a fast, dark tune in C minor over the falling i-VII-VI-V line. A wide
// detuned saw lead, a pumping sixteenth bass, hard kicks and offbeat rim shots.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

TrackSounds lastSounds() {
    TrackSounds sounds;
    sounds.lead = sustainedTone({.name = "wide saw",
                                 .harmonics = sawHarmonics(32),
                                 .baseNote = 72,
                                 .highestNote = 84,
                                 .voices = 3,
                                 .detuneCents = 20.0,
                                 .attackSeconds = 0.005,
                                 .decaySeconds = 0.15,
                                 .sustainLevel = 0.85,
                                 .vibratoSpeed = 16,
                                 .vibratoDepth = 3,
                                 .vibratoRate = 48});
    sounds.pad = sustainedTone({.name = "night pad",
                                .harmonics = sawHarmonics(20, 1.5),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 16.0,
                                .attackSeconds = 0.12,
                                .decaySeconds = 0.2,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "pump bass",
                                 .harmonics = sawHarmonics(18, 1.0),
                                 .baseNote = 36,
                                 .highestNote = 52,
                                 .attackSeconds = 0.002,
                                 .decaySeconds = 0.1,
                                 .sustainLevel = 0.5});
    sounds.arp = pluckedTone({.name = "steel pluck",
                              .harmonics = pulseHarmonics(16, 0.4),
                              .baseNote = 72,
                              .highestNote = 88,
                              .seconds = 0.5,
                              .decaySeconds = 0.15,
                              .brightnessDamping = 0.5});
    sounds.kick = kickDrum({.startHz = 170.0, .endHz = 45.0, .decaySeconds = 0.24, .click = 0.35});
    sounds.snare = snareDrum({.toneHz = 195.0, .noiseDecaySeconds = 0.14, .toneLevel = 0.5});
    sounds.closedHat = hiHat("closed hat", {.decaySeconds = 0.03, .metal = 0.5, .seed = 11});
    sounds.openHat = hiHat("open hat", {.decaySeconds = 0.2, .metal = 0.5, .seed = 12});
    sounds.crash = crashCymbal(1.8);
    sounds.perc = rimClick();
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    return sounds;
}

constexpr Groove Stomp{.kick = "x...x...x...x...", .hat = "..x...x...x...x."};
constexpr Groove Run{.kick = "x...x...x...x...",
                     .snare = "....x.......x...",
                     .hat = "XoxoXoxoXoxoXoO.",
                     .perc = "..x....x..x....."};
constexpr Groove RunFill{
    .kick = "x...x...x...x...", .snare = "....x...x.x.XXXX", .hat = "XoxoXoxo........"};
constexpr Groove Pound{.kick = "x..x..x.x..x..x.", .perc = "x...x...x...x..."};
constexpr Groove PoundRoll{.kick = "x..x..x.x.......", .snare = "xxxxxxxxXXXXXXXX"};

constexpr const char* ThemeA =
    "5q 1'e 2'e 3'q 2'e 1'e | 2'q. 7e 4q 2q | 1'q 3'e 1'e 6q 3q | 2'h #7h | "
    "5q 1'e 2'e 3'q 5'q | 4'q. 3'e 2'q 7q | 3'q 1'q 6q 1'q | #7h 2'q 5q";
constexpr const char* ThemeB =
    "3'e 3'e re 3'e 3'q 1'q | 6q 1'q 3'h | 2'e 2'e re 2'e 2'q 7q | 4'q 2'q 7h | "
    "5'q. 4'e 3'q 1'q | 3'q. 2'e 1'h | 2'q #7q 5q #7q | 2'w";
constexpr const char* Pump = "1.11.11.1.11.1.8";

} // namespace

TrackPlan lastTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::levelTrack[4]);
    plan.title = "Tolvar: Last Straw";
    plan.tempo = 144;
    plan.key = {.tonic = 0, .mode = Mode::Minor};
    plan.leadTonic = 60;
    plan.padLow = 55;
    plan.bassLow = 31;
    plan.arpLow = 60;
    plan.mixVolume = 82; // peaks near -3 dB of full scale
    plan.sounds = lastSounds();
    const Levels full{.lead = 54, .pad = 22, .bass = 46, .arp = 14, .drums = 46};
    plan.sections = {
        {.bars = 4,
         .chords = "1 7 6 5M",
         .bass = Pump,
         .groove = &Stomp,
         .levels = {.pad = 20, .bass = 44, .drums = 44}},
        {.bars = 8,
         .chords = "1 7 6 5M",
         .melody = ThemeA,
         .bass = Pump,
         .groove = &Run,
         .fill = &RunFill,
         .levels = {.lead = 52, .pad = 20, .bass = 44, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "6 6 7 7 1 1 5M 5M",
         .melody = ThemeB,
         .bass = Pump,
         .arp = "1.3.5.8.5.3.1.3.",
         .groove = &Run,
         .fill = &RunFill,
         .levels = full,
         .crash = true},
        {.bars = 8,
         .chords = "1 7 6 5M",
         .melody = ThemeA,
         .bass = Pump,
         .arp = "1.3.5.8.5.3.1.3.",
         .groove = &Run,
         .fill = &RunFill,
         .levels = full,
         .crash = true},
        {.bars = 4,
         .chords = "6 6 5M 5M",
         .bass = "1.......1.......",
         .arp = "1358135813581358",
         .groove = &Pound,
         .fill = &PoundRoll,
         .levels = {.pad = 32, .bass = 42, .arp = 30, .drums = 42}},
        {.bars = 8,
         .chords = "6 6 7 7 1 1 5M 5M",
         .melody = ThemeB,
         .bass = Pump,
         .arp = "1.3.5.8.5.3.1.3.",
         .groove = &Run,
         .fill = &RunFill,
         .levels = full,
         .crash = true},
        {.bars = 8,
         .chords = "1 7 6 5M",
         .melody = ThemeA,
         .bass = Pump,
         .arp = "1.3.5.8.5.3.1.3.",
         .groove = &Run,
         .fill = &RunFill,
         .levels = {.lead = 56, .pad = 24, .bass = 46, .arp = 18, .drums = 48},
         .crash = true},
        {.bars = 2,
         .chords = "6 5M",
         .melody = "3'h 1'h | 2'h #7h",
         .bass = Pump,
         .groove = &Run,
         .levels = full},
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
