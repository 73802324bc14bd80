// The melody notation and the key arithmetic beneath it.
#include "melody_notation.h"
#include "music_theory.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(MelodyNotation, ReadsDegreesLengthsOctavesAndAccidentals) {
    const Melody melody = parseMelody("1q 3e 5e 1'h | #4s b7,e. 5:10 2,,e | 1''w", Mode::Major, 60);
    ASSERT_EQ(melody.notes.size(), 9u);
    const int rows[] = {0, 4, 6, 8, 16, 17, 20, 30, 32};
    const int notes[] = {60, 64, 67, 72, 66, 58, 67, 38, 84};
    const int lengths[] = {4, 2, 2, 8, 1, 3, 10, 2, 16};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(melody.notes[i].row, rows[i]) << i;
        EXPECT_EQ(melody.notes[i].note, notes[i]) << i;
        EXPECT_EQ(melody.notes[i].length, lengths[i]) << i;
    }
    EXPECT_EQ(melody.rows, 48);
}

TEST(MelodyNotation, KeepsTheLastLengthAndHoldsAndRests) {
    const Melody melody = parseMelody("5e 6 7 1' ~h rq 3h.", Mode::Minor, 57);
    ASSERT_EQ(melody.notes.size(), 6u);
    EXPECT_EQ(melody.notes[1].length, 2) << "an unmarked note keeps the previous length";
    EXPECT_EQ(melody.notes[3].note, 69);
    EXPECT_EQ(melody.notes[3].length, 10) << "a hold adds to the note before it";
    EXPECT_TRUE(melody.notes[4].rest);
    EXPECT_EQ(melody.notes[4].row, 16);
    EXPECT_EQ(melody.notes[5].note, 60) << "degree 3 of A minor is C";
    EXPECT_EQ(melody.notes[5].row, 20);
    EXPECT_EQ(melody.notes[5].length, 12);
    EXPECT_EQ(melody.rows, 32);
}

TEST(MelodyNotation, RefusesWhatItCannotRead) {
    EXPECT_THROW(parseMelody("1q | 1h. 1q", Mode::Major, 60), std::invalid_argument)
        << "bar line mid-bar";
    EXPECT_THROW(parseMelody("1x 1h.", Mode::Major, 60), std::invalid_argument) << "unknown length";
    EXPECT_THROW(parseMelody("~q 1h.", Mode::Major, 60), std::invalid_argument)
        << "hold at the start";
    EXPECT_THROW(parseMelody("1h", Mode::Major, 60), std::invalid_argument) << "half a bar";
    EXPECT_THROW(parseMelody("8w", Mode::Major, 60), std::invalid_argument) << "degree 8";
    EXPECT_THROW(parseMelody("1s. 1:15", Mode::Major, 60), std::invalid_argument) << "dotted 16th";
    EXPECT_THROW(parseMelody("1:0 1w", Mode::Major, 60), std::invalid_argument) << "zero length";
    EXPECT_THROW(parseMelody("1'''''w", Mode::Major, 60), std::invalid_argument) << "above B-9";
    EXPECT_THROW(parseMelody("", Mode::Major, 60), std::invalid_argument) << "empty";
}

TEST(MusicTheory, DegreesWrapByOctaves) {
    EXPECT_EQ(degreeSemitones(Mode::Major, 1), 0);
    EXPECT_EQ(degreeSemitones(Mode::Major, 7), 11);
    EXPECT_EQ(degreeSemitones(Mode::Major, 8), 12);
    EXPECT_EQ(degreeSemitones(Mode::Major, 0), -1);
    EXPECT_EQ(degreeSemitones(Mode::Minor, -6), -12);
    EXPECT_EQ(degreeSemitones(Mode::Minor, -5), -10);
    EXPECT_EQ(degreeSemitones(Mode::Dorian, 6), 9);
    EXPECT_EQ(noteAtOrAbove(9, 36), 45);
    EXPECT_EQ(noteAtOrAbove(0, 36), 36);
    EXPECT_EQ(noteAtOrAbove(11, 37), 47);
}

TEST(MusicTheory, ChordsStackTheKeysOwnThirds) {
    const Key aMinor{.tonic = 9, .mode = Mode::Minor};
    const Chord tonic = parseChord(aMinor, "1");
    EXPECT_EQ(tonic.rootPitchClass, 9);
    EXPECT_EQ(tonic.third, 3);
    EXPECT_EQ(tonic.fifth, 7);
    const Chord dominant = parseChord(aMinor, "5");
    EXPECT_EQ(dominant.rootPitchClass, 4);
    EXPECT_EQ(dominant.third, 3) << "E minor in natural A minor";
    EXPECT_EQ(parseChord(aMinor, "5M").third, 4) << "raised: E major";
    EXPECT_EQ(parseChord(aMinor, "2").fifth, 6) << "B diminished";
    EXPECT_EQ(parseChord(aMinor, "1s").third, 5);
    const Key fMajor{.tonic = 5, .mode = Mode::Major};
    EXPECT_EQ(parseChord(fMajor, "4").rootPitchClass, 10) << "B flat";
    EXPECT_EQ(parseChord(fMajor, "4").third, 4);
    EXPECT_THROW(parseChord(fMajor, "8"), std::invalid_argument);
    EXPECT_THROW(parseChord(fMajor, "5x"), std::invalid_argument);
    EXPECT_THROW(parseChord(fMajor, ""), std::invalid_argument);
}

} // namespace
