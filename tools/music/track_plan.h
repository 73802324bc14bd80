// What a track is made of: its sounds, key and tempo, and its sections in order. The six tracks
// are written as plans (tracks/*.cpp); composeTrack turns a plan into a module.
#pragma once

#include "it_writer.h"
#include "music_theory.h"

#include <string>
#include <vector>

// The track's instruments, one sample each, in this order in the module.
struct TrackSounds {
    ItSample lead;
    ItSample pad;
    ItSample bass;
    ItSample arp;
    ItSample kick;
    ItSample snare;
    ItSample closedHat;
    ItSample openHat;
    ItSample crash;
    ItSample perc;
};

// One bar of drums, as 16 steps of a 16th note each (or nullptr: that drum rests). A step is
// 'X' (accent), 'x' (normal), 'o' (soft), '-' (ghost) or '.' (nothing); on the hat line 'O' is an
// open hat at normal strength.
struct Groove {
    const char* kick = nullptr;
    const char* snare = nullptr;
    const char* hat = nullptr;
    const char* perc = nullptr;
};

// Loudness of each part in a section, 0..64; 0 leaves the part out.
struct Levels {
    int lead = 0;
    int pad = 0;
    int bass = 0;
    int arp = 0;
    int drums = 0;
};

// Bass and arpeggio lines are 16-step bars over the current chord: '1' root, '3' third, '5'
// fifth, '7' seventh, '8' root an octave up, '9' ninth, '0' third an octave up, '.' lets the note
// ring, 'x' stops it.
struct Section {
    int bars = 4;
    const char* chords = "1";     // one symbol a bar ("6,7" splits a bar), repeated to fill
    const char* melody = nullptr; // melody notation, repeated to fill the section
    const char* bass = nullptr;
    const char* arp = nullptr;
    const Groove* groove = nullptr;
    const Groove* fill = nullptr; // replaces the groove in the section's last bar
    Levels levels;
    bool crash = false;   // a cymbal on the first beat
    bool fadeOut = false; // everything fades to silence by the section's last row
};

struct TrackPlan {
    std::string fileName; // under Musat/
    std::string title;
    int tempo = 120; // beats a minute, 4 rows a beat
    Key key;
    int leadTonic = 60; // the note of the melody's degree 1
    int padLow = 55;    // the lowest note of the pad's chords
    int bassLow = 36;   // the lowest bass root
    int arpLow = 60;    // the lowest arpeggio root
    int echoDelayRows = 3;
    int echoPercent = 40;     // the echo's loudness against the melody
    int padCrossfadeRows = 2; // rows over which a pad chord fades out under the next
    int mixVolume = 48;
    TrackSounds sounds;
    std::vector<Section> sections;
};

// The finished module: one 64-row pattern per four bars (repeats shared), played once through.
// Throws std::invalid_argument when the plan does not add up (a melody that does not divide its
// section, a line that is not 16 steps, an odd number of bars, an unknown symbol, a tempo, level or
// volume out of range).
ItModule composeTrack(const TrackPlan& plan);

// The parts' channels in the module. The pad has two sets of three channels (its low, middle and
// high note) and takes turns between them, so that one chord fades out while the next swells in.
constexpr int PadSetSize = 3;

enum TrackChannel : int {
    LeadChannel,
    EchoChannel,
    PadChannel, // the first set's lowest note
    BassChannel = PadChannel + 2 * PadSetSize,
    ArpChannel,
    KickChannel,
    SnareChannel,
    HatChannel,
    PercChannel,
    CrashChannel,
    TrackChannelCount,
};
