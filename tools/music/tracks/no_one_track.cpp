// NOONE.it, level 2: a driving dance tune in D minor. A bright detuned saw lead, an octave-
// jumping bass, four-on-the-floor kicks with claps and open hats, and an arpeggio running along.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

TrackSounds noOneSounds() {
    TrackSounds sounds;
    sounds.lead = sustainedTone({.name = "saw lead",
                                 .harmonics = sawHarmonics(32),
                                 .baseNote = 72,
                                 .highestNote = 84,
                                 .voices = 2,
                                 .detuneCents = 10.0,
                                 .attackSeconds = 0.008,
                                 .decaySeconds = 0.2,
                                 .sustainLevel = 0.8,
                                 .vibratoSpeed = 14,
                                 .vibratoDepth = 3,
                                 .vibratoRate = 32});
    sounds.pad = sustainedTone({.name = "soft pad",
                                .harmonics = sawHarmonics(24, 1.4),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 16.0,
                                .attackSeconds = 0.2,
                                .decaySeconds = 0.2,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "octave bass",
                                 .harmonics = sawHarmonics(16, 1.1),
                                 .baseNote = 36,
                                 .highestNote = 52,
                                 .attackSeconds = 0.003,
                                 .decaySeconds = 0.15,
                                 .sustainLevel = 0.55});
    sounds.arp = pluckedTone({.name = "glass pluck",
                              .harmonics = squareHarmonics(15),
                              .baseNote = 72,
                              .highestNote = 90,
                              .seconds = 0.6,
                              .decaySeconds = 0.2,
                              .brightnessDamping = 0.4});
    sounds.kick = kickDrum({.startHz = 150.0, .endHz = 46.0, .decaySeconds = 0.3});
    sounds.snare =
        snareDrum({.toneHz = 200.0, .noiseDecaySeconds = 0.12, .toneLevel = 0.25, .clap = true});
    sounds.closedHat = hiHat("closed hat", {.decaySeconds = 0.035, .metal = 0.6, .seed = 7});
    sounds.openHat = hiHat("open hat", {.decaySeconds = 0.2, .metal = 0.6, .seed = 8});
    sounds.crash = crashCymbal(2.0);
    sounds.perc = rimClick();
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    return sounds;
}

constexpr Groove Floor{.kick = "x...x...x...x..."};
constexpr Groove Dance{
    .kick = "x...x...x...x...", .snare = "....x.......x...", .hat = "x.O.x.O.x.O.x.O."};
constexpr Groove DanceFill{.kick = "x...x...x...x.x.",
                           .snare = "....x.......xxxx",
                           .hat = "x.O.x.O.x.O.....",
                           .perc = "..x.......x....."};

constexpr const char* ThemeA = "1'q 5q 3'q. 2'e | 1'q 6q 4q 6q | 3'q. 2'e 1'q 7q | 7h. 2'q | "
                               "1'q 5q 3'q. 2'e | 1'q 6q 1'q 3'q | 1'q. 6e 4q 6q | #7h 5h";
constexpr const char* ThemeB = "3'h 2'q 1'q | 2'h 1'q 7q | 1'h. 5q | 3'q 2'e 1'e 5h | "
                               "1'q 3'q 4'q 3'q | 2'q. 1'e 7q 5q | #7q 2'q 5'h | 5'h. rq";
constexpr const char* OctaveBass = "1.8.1.8.1.8.1.8.";
constexpr const char* Running = "1.5.8.5.0.5.8.5.";

} // namespace

TrackPlan noOneTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::levelTrack[2]);
    plan.title = "Tolvar: No One Leans";
    plan.tempo = 122;
    plan.key = {.tonic = 2, .mode = Mode::Minor};
    plan.leadTonic = 62;
    plan.padLow = 53;
    plan.bassLow = 31;
    plan.arpLow = 60;
    plan.mixVolume = 72; // peaks near -3 dB of full scale
    plan.sounds = noOneSounds();
    plan.sections = {
        {.bars = 4,
         .chords = "1 6 3 7",
         .arp = Running,
         .groove = &Floor,
         .levels = {.pad = 22, .arp = 28, .drums = 44}},
        {.bars = 8,
         .chords = "1 6 3 7 1 6 4 5M",
         .melody = ThemeA,
         .bass = OctaveBass,
         .arp = Running,
         .groove = &Dance,
         .fill = &DanceFill,
         .levels = {.lead = 48, .pad = 20, .bass = 44, .arp = 16, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "6 7 1 1 6 7 5M 5M",
         .melody = ThemeB,
         .bass = OctaveBass,
         .arp = Running,
         .groove = &Dance,
         .fill = &DanceFill,
         .levels = {.lead = 50, .pad = 24, .bass = 44, .arp = 16, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "1 6 3 7 1 6 4 5M",
         .melody = ThemeA,
         .bass = OctaveBass,
         .arp = Running,
         .groove = &Dance,
         .fill = &DanceFill,
         .levels = {.lead = 50, .pad = 22, .bass = 46, .arp = 22, .drums = 46},
         .crash = true},
        {.bars = 8,
         .chords = "6 7 1 1 6 7 5M 5M",
         .melody = ThemeB,
         .bass = OctaveBass,
         .arp = Running,
         .groove = &Dance,
         .fill = &DanceFill,
         .levels = {.lead = 52, .pad = 26, .bass = 46, .arp = 22, .drums = 46},
         .crash = true},
        {.bars = 2,
         .chords = "6 7",
         .melody = "3'h 1'h | 2'h 7h",
         .bass = OctaveBass,
         .arp = Running,
         .groove = &Dance,
         .levels = {.lead = 50, .pad = 26, .bass = 44, .arp = 20, .drums = 44}},
        {.bars = 2,
         .chords = "1",
         .melody = "1'w | ~w",
         .bass = "1...............",
         .levels = {.lead = 50, .pad = 28, .bass = 44, .drums = 46},
         .crash = true,
         .fadeOut = true},
    };
    return plan;
}
