// No audio device and no usable font (the test's environment names an audio driver that does not
// exist and points fontconfig at a configuration without fonts): the game still plays through
// every screen, silent and without text, and says on standard error what is missing. Once in
// this process on the scripted platform with the real player and glyphs, once as the real
// program on SDL's offscreen video driver.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "assets/assets.h"
#include "game_folder.h"
#include "screen_tour.h"
#include "shell/shell.h"
#include "support/file_bytes.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* NoAudioLine = "no audio device";
constexpr const char* NoFontLine = "no bold monospaced font";

// Standard error of this process goes to a file while one of these lives.
class CapturedStandardError {
public:
    explicit CapturedStandardError(fs::path file) : path(std::move(file)) {
        std::fflush(stderr);
        saved = ::dup(STDERR_FILENO);
        const int target = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(target, STDERR_FILENO);
        ::close(target);
    }
    ~CapturedStandardError() { restore(); }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    std::string text() {
        restore();
        return support::fileBytes(path);
    }

private:
    void restore() {
        if (saved >= 0) {
            std::fflush(stderr);
            ::dup2(saved, STDERR_FILENO);
            ::close(saved);
            saved = -1;
        }
    }
    fs::path path;
    int saved = -1;
};

TEST(MissingDevicesTest, TheEnvironmentReallyHasNeitherAudioDriverNorFonts) {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const char* fonts = std::getenv("FONTCONFIG_FILE");
    ASSERT_NE(driver, nullptr);
    ASSERT_NE(fonts, nullptr);
    EXPECT_STREQ(driver, "no-such-audio-driver");
    EXPECT_EQ(support::fileBytes(fonts).find("<dir"), std::string::npos)
        << "the configuration names fonts";
}

TEST(MissingDevicesTest, TheGamePlaysThroughEveryScreenSilentAndSaysWhatIsMissing) {
    faults::GameFolder folder("5");
    openProgressFile();
    CapturedStandardError captured(folder.path() / "stderr.txt");
    const faults::TourRecord record = faults::runScreenTour({});
    const std::string errors = captured.text();

    EXPECT_EQ(record.exitCode, 0);
    EXPECT_EQ(record.stepsRun, faults::tourStepCount);
    EXPECT_EQ(record.presentedStates.size(), 17u); // every state drew
    EXPECT_NE(errors.find(NoAudioLine), std::string::npos) << errors;
    EXPECT_NE(errors.find(NoFontLine), std::string::npos) << errors;
    // The fonts were still built, only empty: the small one, scaled to the tour's 192-row view.
    EXPECT_EQ(fontPixelHeight, SmallFontHeight * 192 / 768);
}

// The real program, in a folder of its own; its standard error goes to a file.
class RunningProgram {
public:
    RunningProgram(const fs::path& folder, const fs::path& errorFile) {
        std::vector<std::string> variables;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            if (std::string(*variable).rfind("SDL_VIDEODRIVER=", 0) != 0) {
                variables.emplace_back(*variable);
            }
        }
        variables.emplace_back("SDL_VIDEODRIVER=offscreen");
        std::vector<char*> environment;
        for (std::string& variable : variables) {
            environment.push_back(variable.data());
        }
        environment.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const std::string program = TOLVAR_PROGRAM;
        char* arguments[] = {const_cast<char*>(program.c_str()), nullptr};
        // The game runs from its working directory: start it from the folder.
        const fs::path previous = fs::current_path();
        fs::current_path(folder);
        spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments,
                              environment.data()) == 0;
        fs::current_path(previous);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RunningProgram() {
        if (spawned && !ended) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return spawned; }

    bool running() {
        int status = 0;
        if (ended || ::waitpid(pid, &status, WNOHANG) == 0) {
            return !ended;
        }
        ended = true;
        return false;
    }

private:
    pid_t pid = 0;
    bool spawned = false;
    bool ended = false;
};

// The real program is only watched, not ended through its quit message: on SDL's offscreen driver
// its teardown waits in Mesa's context deletion far longer than any test should (under X it
// does not). The clean end of a whole run is the in-process test above.
TEST(MissingDevicesTest, TheRealProgramStartsAndRunsWithoutSoundOrFont) {
    faults::GameFolder folder("1");
    const fs::path errorFile = folder.path() / "stderr.txt";
    RunningProgram game(folder.path(), errorFile);
    ASSERT_TRUE(game.started());

    // Both lines come from start-up; the generous limit only stops a hung test.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    std::string errors;
    while (game.running() && std::chrono::steady_clock::now() < deadline) {
        errors = support::fileBytes(errorFile);
        if (errors.find(NoAudioLine) != std::string::npos &&
            errors.find(NoFontLine) != std::string::npos) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Past the logo's hold of three seconds: the game is into its menu frames by now.
    std::this_thread::sleep_for(std::chrono::seconds(5));
    errors = support::fileBytes(errorFile);
    EXPECT_TRUE(game.running()) << errors;
    EXPECT_NE(errors.find(NoAudioLine), std::string::npos) << errors;
    EXPECT_NE(errors.find(NoFontLine), std::string::npos) << errors;
    EXPECT_EQ(errors.find("ERROR"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    // The progress file was read and kept.
    EXPECT_EQ(support::fileBytes(folder.path() / "Data.dat"), "1");
}

} // namespace
