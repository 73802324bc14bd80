// BLACKSMI.it, level 5: the fastest and hardest, in B minor. Anvil strikes ring through a
// galloping bass, a raw saw-and-square lead hammers out repeated notes, the drums never rest.
#include "drum_synth.h"
#include "tone_synth.h"
#include "tracks.h"

namespace {

// A saw with its odd harmonics lifted: between a saw's edge and a square's hollowness.
std::vector<double> forgedHarmonics() {
    std::vector<double> harmonics = sawHarmonics(32);
    for (std::size_t i = 0; i < harmonics.size(); i += 2) {
        harmonics[i] *= 1.6;
    }
    return harmonics;
}

TrackSounds blacksmithSounds() {
    TrackSounds sounds;
    sounds.lead = sustainedTone({.name = "forged lead",
                                 .harmonics = forgedHarmonics(),
                                 .baseNote = 72,
                                 .highestNote = 84,
                                 .voices = 2,
                                 .detuneCents = 12.0,
                                 .attackSeconds = 0.004,
                                 .decaySeconds = 0.12,
                                 .sustainLevel = 0.8,
                                 .vibratoSpeed = 18,
                                 .vibratoDepth = 3,
                                 .vibratoRate = 48});
    sounds.pad = sustainedTone({.name = "ember pad",
                                .harmonics = sawHarmonics(20, 1.5),
                                .baseNote = 60,
                                .highestNote = 72,
                                .voices = 3,
                                .detuneCents = 18.0,
                                .attackSeconds = 0.1,
                                .decaySeconds = 0.2,
                                .sustainLevel = 0.85});
    sounds.bass = sustainedTone({.name = "gallop bass",
                                 .harmonics = sawHarmonics(18, 0.9),
                                 .baseNote = 36,
                                 .highestNote = 52,
                                 .attackSeconds = 0.002,
                                 .decaySeconds = 0.08,
                                 .sustainLevel = 0.6});
    sounds.arp = pluckedTone({.name = "spark pluck",
                              .harmonics = squareHarmonics(16),
                              .baseNote = 72,
                              .highestNote = 90,
                              .seconds = 0.4,
                              .decaySeconds = 0.12,
                              .brightnessDamping = 0.5});
    sounds.kick = kickDrum({.startHz = 180.0, .endHz = 42.0, .decaySeconds = 0.22, .click = 0.4});
    sounds.snare = snareDrum({.toneHz = 200.0, .noiseDecaySeconds = 0.16, .toneLevel = 0.5});
    sounds.closedHat = hiHat("closed hat", {.decaySeconds = 0.028, .metal = 0.6, .seed = 13});
    sounds.openHat = hiHat("open hat", {.decaySeconds = 0.18, .metal = 0.6, .seed = 14});
    sounds.crash = crashCymbal(1.8);
    sounds.perc = anvilStrike(1180.0, 0.45);
    // Balance: the pad sits under the melody, the kick stands out from the metal.
    sounds.pad.globalVolume = 40;
    sounds.closedHat.globalVolume = 48;
    sounds.openHat.globalVolume = 48;
    sounds.crash.globalVolume = 48;
    return sounds;
}

constexpr Groove Forge{
    .kick = "x.......x.......", .hat = "x.x.x.x.x.x.x.x.", .perc = "X.....x.....x..."};
constexpr Groove Hammer{.kick = "x...x...x...x.x.",
                        .snare = "....x.......x...",
                        .hat = "XoxoXoxoXoxoXoxo",
                        .perc = "X.....o.....o..."};
constexpr Groove HammerFill{.kick = "x...x...x...x...",
                            .snare = "....x...xxxxXXXX",
                            .hat = "XoxoXoxo........",
                            .perc = "X..............."};
constexpr Groove Anvils{.kick = "x..x..x.x..x..x.", .perc = "X..x..X..x..X.x."};
constexpr Groove AnvilsRoll{
    .kick = "x..x..x.x.......", .snare = "xxxxxxxxXXXXXXXX", .perc = "X.......X......."};

constexpr const char* ThemeA =
    "1'e 1'e 1'e 5e 3'q 2'e 1'e | 5'q 3'q 1'h | 3'e 3'e 3'e 1'e 6'q 5'e 3'e | 6'q. 5'e 3'h | "
    "4'e 4'e 4'e 1'e 6'q 4'e 3'e | 1'q 4'q 6'h | 5'q. 4'e 2'q #7q | 5'h. rq";
constexpr const char* ThemeB = "3'h 2'q 1'q | 2'h 1'q 7q | 1'q. 2'e 3'q 5'q | 6'q 5'q 3'h | "
                               "6'q. 5'e 3'q 1'q | 4'q. 3'e 1'q 6q | #7q 2'q 5'h | 2'h #7h";
constexpr const char* Gallop = "1.111.111.111.58";

} // namespace

TrackPlan blacksmithTrack() {
    TrackPlan plan;
    plan.fileName = layout::fileName(layout::levelTrack[5]);
    plan.title = "Tolvar: Blacksmith";
    plan.tempo = 156;
    plan.key = {.tonic = 11, .mode = Mode::Minor};
    plan.leadTonic = 59;
    plan.padLow = 54;
    plan.bassLow = 30;
    plan.arpLow = 59;
    plan.mixVolume = 70; // peaks near -3 dB of full scale
    plan.sounds = blacksmithSounds();
    const Levels full{.lead = 48, .pad = 22, .bass = 46, .arp = 14, .drums = 46};
    plan.sections = {
        {.bars = 4,
         .chords = "1 1 6 6",
         .bass = Gallop,
         .groove = &Forge,
         .levels = {.pad = 20, .bass = 44, .drums = 44}},
        {.bars = 8,
         .chords = "1 1 6 6 4 4 5M 5M",
         .melody = ThemeA,
         .bass = Gallop,
         .groove = &Hammer,
         .fill = &HammerFill,
         .levels = {.lead = 46, .pad = 20, .bass = 44, .drums = 44},
         .crash = true},
        {.bars = 8,
         .chords = "6 7 1 1 6 4 5M 5M",
         .melody = ThemeB,
         .bass = Gallop,
         .arp = "8531853185318531",
         .groove = &Hammer,
         .fill = &HammerFill,
         .levels = full,
         .crash = true},
        {.bars = 8,
         .chords = "1 1 6 6 4 4 5M 5M",
         .melody = ThemeA,
         .bass = Gallop,
         .arp = "8531853185318531",
         .groove = &Hammer,
         .fill = &HammerFill,
         .levels = full,
         .crash = true},
        {.bars = 4,
         .chords = "4 4 5M 5M",
         .bass = "1.......1.......",
         .arp = "8531853185318531",
         .groove = &Anvils,
         .fill = &AnvilsRoll,
         .levels = {.pad = 32, .bass = 42, .arp = 28, .drums = 42}},
        {.bars = 8,
         .chords = "6 7 1 1 6 4 5M 5M",
         .melody = ThemeB,
         .bass = Gallop,
         .arp = "8531853185318531",
         .groove = &Hammer,
         .fill = &HammerFill,
         .levels = full,
         .crash = true},
        {.bars = 8,
         .chords = "1 1 6 6 4 4 5M 5M",
         .melody = ThemeA,
         .bass = Gallop,
         .arp = "8531853185318531",
         .groove = &Hammer,
         .fill = &HammerFill,
         .levels = {.lead = 50, .pad = 24, .bass = 46, .arp = 18, .drums = 48},
         .crash = true},
        {.bars = 2,
         .chords = "6 5M",
         .melody = "3'h 1'h | 2'h #7h",
         .bass = Gallop,
         .groove = &Hammer,
         .levels = full},
        {.bars = 2,
         .chords = "1",
         .melody = "1'w | ~w",
         .bass = "1...............",
         .levels = {.lead = 48, .pad = 28, .bass = 44, .drums = 46},
         .crash = true,
         .fadeOut = true},
    };
    return plan;
}
