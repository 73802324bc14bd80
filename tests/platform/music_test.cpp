// The real music player: libopenmpt modules over SDL audio, here on SDL's disk driver writing to
// the null device as fast as it can, so that a song reaches its end without waiting for it.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "it_writer.h"
#include "platform/music_rendering.h"
#include "platform/platform.h"

namespace {

constexpr int OutputRate = 32000;
constexpr double ToneSeconds = 0.5;

// A folder of the process's own, gone when it ends: ctest runs every case as a process of its
// own, side by side, and one rewriting a module another was loading made that load fail.
const std::filesystem::path& testFolder() {
    static const struct Folder {
        std::filesystem::path path = std::filesystem::path(testing::TempDir()) /
                                     ("tolvar_music_" + std::to_string(getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

std::string testFile(const std::string& name) {
    return (testFolder() / name).string();
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    if (!bytes.empty()) {
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    std::fclose(file);
}

std::string writeToneModule(const std::string& name, double seconds) {
    const std::string path = testFile(name);
    writeBytes(path, writeItModule(makeToneModule(seconds)));
    return path;
}

class Music : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
        SDL_setenv("SDL_DISKAUDIOFILE", TOLVAR_NULL_DEVICE, 1);
        SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
        ASSERT_TRUE(platform::startSoundOutput(OutputRate));
        tonePath = writeToneModule("tone.it", ToneSeconds);
    }

    // The audio thread plays the song; this waits for it to say so, with a bound far beyond what
    // the disk driver needs, so that a song that never ends fails instead of hanging.
    static bool waitUntilFinished(platform::SongHandle song) {
        for (int i = 0; i < 20000; ++i) {
            if (platform::isSongFinished(song)) {
                return true;
            }
            SDL_Delay(1);
        }
        return false;
    }

    static std::string tonePath;
};

std::string Music::tonePath;

TEST_F(Music, ASongPlaysToItsEndAndPlayingStartsItAgain) {
    const platform::SongHandle song = platform::loadSong(tonePath.c_str());
    ASSERT_NE(song, 0);
    EXPECT_FALSE(platform::isSongFinished(song));

    platform::playSong(song);
    ASSERT_TRUE(waitUntilFinished(song));

    // Restarted from its beginning: no longer finished, and it plays to its end once more.
    platform::playSong(song);
    EXPECT_FALSE(platform::isSongFinished(song));
    EXPECT_TRUE(waitUntilFinished(song));

    // A stopped song is not a finished one, and it stays where it was stopped.
    platform::playSong(song);
    platform::stopSong(song);
    EXPECT_FALSE(platform::isSongFinished(song));
    platform::releaseSong(song);
}

TEST_F(Music, MissingGarbageAndOversizedFilesGiveNoSong) {
    EXPECT_EQ(platform::loadSong(testFile("no-such-file.it").c_str()), 0);
    EXPECT_EQ(platform::loadSong(nullptr), 0);
    EXPECT_EQ(platform::loadSong(testing::TempDir().c_str()), 0); // a folder

    const std::string empty = testFile("empty.it");
    writeBytes(empty, {});
    EXPECT_EQ(platform::loadSong(empty.c_str()), 0);

    std::mt19937 random(1234);
    std::vector<std::uint8_t> noise(64 * 1024);
    for (std::uint8_t& byte : noise) {
        byte = static_cast<std::uint8_t>(random());
    }
    const std::string noisy = testFile("noise.it");
    writeBytes(noisy, noise);
    EXPECT_EQ(platform::loadSong(noisy.c_str()), 0);

    // A real module cut short after its header.
    std::vector<std::uint8_t> cut = writeItModule(makeToneModule(ToneSeconds));
    cut.resize(100);
    const std::string truncated = testFile("truncated.it");
    writeBytes(truncated, cut);
    EXPECT_EQ(platform::loadSong(truncated.c_str()), 0);

    // A valid module followed by enough padding to pass the size bound is refused unread.
    const std::string huge = testFile("huge.it");
    writeBytes(huge, writeItModule(makeToneModule(ToneSeconds)));
    std::filesystem::resize_file(huge, 33u * 1024u * 1024u);
    EXPECT_EQ(platform::loadSong(huge.c_str()), 0);
    std::filesystem::remove(huge);
}

TEST_F(Music, CallsOnNoSongOrAReleasedSongDoNothing) {
    std::int16_t frames[2 * 64] = {};
    for (const platform::SongHandle none : {0, -1, 12345678}) {
        platform::playSong(none);
        platform::stopSong(none);
        EXPECT_FALSE(platform::isSongFinished(none));
        EXPECT_EQ(platform::renderSongFrames(none, OutputRate, frames, 64), 0);
        platform::releaseSong(none);
    }

    const platform::SongHandle released = platform::loadSong(tonePath.c_str());
    ASSERT_NE(released, 0);
    platform::releaseSong(released);
    // The next load takes the same slot; the old handle must not reach the new song.
    const platform::SongHandle current = platform::loadSong(tonePath.c_str());
    ASSERT_NE(current, 0);
    EXPECT_NE(current, released);
    platform::playSong(released);
    platform::releaseSong(released);
    EXPECT_EQ(platform::renderSongFrames(released, OutputRate, frames, 64), 0);
    EXPECT_EQ(platform::renderSongFrames(current, OutputRate, frames, 64), 64);
    platform::releaseSong(current);
}

TEST_F(Music, TheSongTableIsBoundedAndReleasingFreesASlot) {
    std::vector<platform::SongHandle> held;
    for (;;) {
        const platform::SongHandle song = platform::loadSong(tonePath.c_str());
        if (song == 0) {
            break;
        }
        held.push_back(song);
        ASSERT_LE(held.size(), 64u) << "the table never fills";
    }
    EXPECT_GE(held.size(), 2u);
    platform::releaseSong(held.back());
    held.pop_back();
    const platform::SongHandle again = platform::loadSong(tonePath.c_str());
    EXPECT_NE(again, 0);
    held.push_back(again);
    for (const platform::SongHandle song : held) {
        platform::releaseSong(song);
    }
}

TEST_F(Music, AThousandLoadPlayStopReleaseCyclesHoldNothing) {
    // The sanitizer build reports anything these leave behind.
    for (int cycle = 0; cycle < 1000; ++cycle) {
        const platform::SongHandle song = platform::loadSong(tonePath.c_str());
        ASSERT_NE(song, 0) << "cycle " << cycle;
        platform::playSong(song);
        platform::stopSong(song);
        platform::releaseSong(song);
    }
}

TEST_F(Music, RenderedFramesMatchTheSongsLength) {
    for (const double seconds : {0.25, 1.5}) {
        const std::string path = writeToneModule("length.it", seconds);
        const platform::SongHandle song = platform::loadSong(path.c_str());
        ASSERT_NE(song, 0);
        constexpr int Chunk = 4096;
        std::vector<std::int16_t> buffer(2 * Chunk);
        std::int64_t total = 0;
        bool sounded = false;
        for (;;) {
            const int rendered = platform::renderSongFrames(song, 44100, buffer.data(), Chunk);
            total += rendered;
            for (int i = 0; i < 2 * rendered; ++i) {
                sounded = sounded || buffer[static_cast<std::size_t>(i)] != 0;
            }
            if (rendered < Chunk) {
                break;
            }
            ASSERT_LT(total, 44100 * 10) << "the song never ends";
        }
        // The writer promises the length within a few milliseconds.
        EXPECT_NEAR(static_cast<double>(total), seconds * 44100.0, 0.01 * 44100.0) << seconds;
        EXPECT_TRUE(sounded);
        EXPECT_TRUE(platform::isSongFinished(song));
        EXPECT_EQ(platform::renderSongFrames(song, 44100, buffer.data(), Chunk), 0);

        // Playing starts it over; the device would then play it (the disk driver to its end at
        // once), so it is held while the song is started and stopped again.
        platform::pauseSoundOutput(true);
        platform::playSong(song);
        platform::stopSong(song);
        platform::pauseSoundOutput(false);
        EXPECT_FALSE(platform::isSongFinished(song));
        EXPECT_GT(platform::renderSongFrames(song, 44100, buffer.data(), Chunk), 0);
        platform::releaseSong(song);
    }
}

// The real mute, where the samples are made: the device's own mix of a playing song is silence
// while muted (the song moving on meanwhile), and exactly the song once unmuted.
TEST_F(Music, MutedTheOutputIsSilenceAndUnmutedItIsTheSong) {
    platform::pauseSoundOutput(true);
    const platform::SongHandle playing = platform::loadSong(tonePath.c_str());
    const platform::SongHandle copy = platform::loadSong(tonePath.c_str());
    platform::playSong(playing);
    constexpr int Frames = 2048;
    std::vector<std::int16_t> output(2 * Frames), song(2 * Frames);
    for (const bool muted : {true, false}) {
        platform::setMusicMuted(muted);
        ASSERT_EQ(platform::renderOutputFrames(output.data(), Frames), Frames);
        ASSERT_EQ(platform::renderSongFrames(copy, OutputRate, song.data(), Frames), Frames);
        EXPECT_NE(song, std::vector<std::int16_t>(2 * Frames));
        for (std::size_t i = 0; i < song.size(); ++i) { // each dithered by a step when sounding
            ASSERT_NEAR(output[i], muted ? 0 : song[i], muted ? 0 : 2) << muted << " " << i;
        }
    }
    platform::releaseSong(playing);
    platform::releaseSong(copy);
    platform::pauseSoundOutput(false);
}

// In a fresh process, with no audio driver to be had.
void playWithoutADevice(const std::string& path) {
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    if (platform::startSoundOutput(OutputRate)) {
        std::exit(1);
    }
    const platform::SongHandle song = platform::loadSong(path.c_str());
    if (song == 0) {
        std::exit(3);
    }
    platform::playSong(song);
    platform::stopSong(song);
    const bool finished = platform::isSongFinished(song);
    platform::releaseSong(song);
    platform::playSong(0);
    std::exit(finished ? 2 : 0);
}

TEST(MusicDeathTest, WithoutADeviceStartingSaysWhyAndEveryCallStaysHarmless) {
    const std::string path = writeToneModule("silent.it", ToneSeconds);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(playWithoutADevice(path), testing::ExitedWithCode(0), "no audio device: ");
}

} // namespace
