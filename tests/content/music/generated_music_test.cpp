// Runs the real make_music into a scratch folder and checks what the game will load: six modules
// that load, last 45 to 300 s, sound from the first second, never reach full scale and end.
#include "module_render.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> TrackFiles{"menumusa.it", "Execute.it", "NOONE.it",
                                          "67.it",       "LAST.it",    "BLACKSMI.it"};

int runMakeMusic(const fs::path& dataDir) {
    const std::string command = std::string("'") + MAKE_MUSIC_PATH + "' '" + dataDir.string() + "'";
    return std::system(command.c_str());
}

fs::path scratchFolder(const char* purpose) {
    return fs::temp_directory_path() /
           ("tolvar-music-" + std::string(purpose) + "-" + std::to_string(::getpid()));
}

class GeneratedMusic : public ::testing::TestWithParam<std::string> {
public:
    static void SetUpTestSuite() {
        dataDir() = scratchFolder("data");
        fs::remove_all(dataDir());
        exitCode() = runMakeMusic(dataDir());
    }
    static void TearDownTestSuite() { fs::remove_all(dataDir()); }

protected:
    static fs::path& dataDir() {
        static fs::path path;
        return path;
    }
    static int& exitCode() {
        static int code = -1;
        return code;
    }
    void SetUp() override { ASSERT_EQ(exitCode(), 0) << "make_music failed"; }
    std::vector<std::uint8_t> moduleBytes() const {
        return readBytes((dataDir() / "Musat" / GetParam()).string());
    }
};

TEST_P(GeneratedMusic, LoadsAsAnImpulseTrackerModuleWithoutWarnings) {
    const std::vector<std::uint8_t> bytes = moduleBytes();
    ASSERT_FALSE(bytes.empty());
    std::ostringstream log;
    openmpt::module song(bytes, log);
    EXPECT_EQ(song.get_metadata("type"), "it");
    EXPECT_EQ(song.get_metadata("warnings"), "");
    EXPECT_EQ(song.get_num_subsongs(), 1);
}

TEST_P(GeneratedMusic, LastsBetween45And300Seconds) {
    std::ostringstream log;
    const openmpt::module song(moduleBytes(), log);
    const double seconds = song.get_duration_seconds();
    EXPECT_GE(seconds, 45.0);
    EXPECT_LE(seconds, 300.0);
}

// The game restarts a finished song itself, so no song may jump back or loop on its own.
TEST_P(GeneratedMusic, HasNoJumpBackOrPatternLoop) {
    std::ostringstream log;
    openmpt::module song(moduleBytes(), log);
    for (std::int32_t pattern = 0; pattern < song.get_num_patterns(); ++pattern) {
        for (std::int32_t row = 0; row < song.get_pattern_num_rows(pattern); ++row) {
            for (std::int32_t channel = 0; channel < song.get_num_channels(); ++channel) {
                const std::string effect = song.format_pattern_row_channel_command(
                    pattern, row, channel, openmpt::module::command_effect);
                const int parameter = song.get_pattern_row_channel_command(
                    pattern, row, channel, openmpt::module::command_parameter);
                EXPECT_NE(effect, "B") << "pattern " << pattern << " row " << row;
                EXPECT_FALSE(effect == "S" && (parameter >> 4) == 0xB)
                    << "pattern " << pattern << " row " << row;
            }
        }
    }
}

TEST_P(GeneratedMusic, SoundsFromTheFirstSecondStaysBelowFullScaleAndEnds) {
    std::ostringstream log;
    const double seconds = openmpt::module(moduleBytes(), log).get_duration_seconds();
    const RenderedSong song = renderSong(moduleBytes());
    const std::size_t frameCount = song.frames.size() / 2;

    EXPECT_GT(rmsLevel(song.frames, 0, RenderRate / 4), 0.005) << "silent start";
    EXPECT_GT(rmsLevel(song.frames, 0, RenderRate), 0.01) << "quiet first second";
    EXPECT_LT(peakLevel(song.frames), 1.0);
    EXPECT_TRUE(song.endedCleanly);
    // It ends where its length says, not after some second pass.
    EXPECT_NEAR(static_cast<double>(frameCount) / RenderRate, seconds, 0.5);
}

INSTANTIATE_TEST_SUITE_P(EveryTrack, GeneratedMusic, ::testing::ValuesIn(TrackFiles),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             return "Track" + name;
                         });

TEST(MakeMusic, WritesExactlyTheSixTracksTheSameOnEveryRun) {
    const fs::path first = scratchFolder("first");
    const fs::path second = scratchFolder("second");
    fs::remove_all(first);
    fs::remove_all(second);
    ASSERT_EQ(runMakeMusic(first), 0);
    ASSERT_EQ(runMakeMusic(second), 0);

    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(first / "Musat")) {
        written.insert(entry.path().filename().string());
    }
    EXPECT_EQ(written, std::set<std::string>(TrackFiles.begin(), TrackFiles.end()));
    for (const std::string& name : TrackFiles) {
        const std::vector<std::uint8_t> a = readBytes((first / "Musat" / name).string());
        const std::vector<std::uint8_t> b = readBytes((second / "Musat" / name).string());
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs between two runs";
    }
    fs::remove_all(first);
    fs::remove_all(second);
}

TEST(MakeMusic, ReportsFailureWhenTheFolderCannotBeMade) {
    const fs::path blocker = scratchFolder("blocker");
    fs::remove_all(blocker);
    { std::ofstream(blocker) << "a file where the data folder should go"; }
    EXPECT_NE(runMakeMusic(blocker), 0);
    fs::remove_all(blocker);
}

TEST(MakeMusic, RefusesAMissingArgument) {
    const std::string command = std::string("'") + MAKE_MUSIC_PATH + "' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

} // namespace
