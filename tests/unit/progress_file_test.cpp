#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/standard_streams.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

namespace fs = std::filesystem;

// Every test works in a folder of its own, as the game works in its own.
class ProgressFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tolvar-progress-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        previous = fs::current_path();
        fs::current_path(folder);
        fs::create_directory("Data"); // where the game looks for its pictures and tracks
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    static void writeFile(const std::string& content) {
        std::ofstream("Data.dat", std::ios::binary) << content;
    }
    static std::string fileContent() {
        std::ifstream in("Data.dat", std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    // Opens the file as the game does before it starts, then loads it.
    static void startGame() {
        openProgressFile();
        loadProgress();
    }
    static int boxesShown() { return static_cast<int>(scripted::script().boxes.size()); }

    fs::path folder;
    fs::path previous;
};

TEST_F(ProgressFileTest, ValidTokensLoadAndLeaveTheFileAsItWas) {
    writeFile(" 3\n");
    startGame();
    EXPECT_STREQ(Progress, "3");
    EXPECT_EQ(fileContent(), " 3\n");
    EXPECT_FALSE(quitRequested);
    EXPECT_EQ(boxesShown(), 0);
}

TEST_F(ProgressFileTest, ATokenEndingExactlyAtTheReadLimitStillCounts) {
    const std::string spaces(63, ' ');
    for (const std::string& content : {spaces + "3", spaces + "3\n"}) {
        writeFile(content);
        std::strcpy(Progress, "0");
        startGame();
        EXPECT_STREQ(Progress, "3") << "content of " << content.size() << " bytes";
        EXPECT_EQ(fileContent(), content);
    }
    writeFile(spaces + " 3"); // begins past the limit
    startGame();
    EXPECT_EQ(fileContent(), "1");
}

TEST_F(ProgressFileTest, OnlyTheFirstTokenCountsAndTheFirstWriteLeavesOneDigit) {
    writeFile("3 4");
    startGame();
    EXPECT_STREQ(Progress, "3");
    recordProgress(4);
    EXPECT_EQ(fileContent(), "4");
}

TEST_F(ProgressFileTest, InvalidContentIsQuietlyRepairedToOne) {
    const std::string invalid[] = {"03",
                                   "6",
                                   "",
                                   "1x",
                                   "0",
                                   "12",
                                   "1.0",
                                   std::string("\0\0", 2),
                                   std::string(1 << 20, '2'),
                                   std::string(100, ' ') + "3"};
    for (const std::string& content : invalid) {
        writeFile(content);
        std::strcpy(Progress, "0");
        startGame();
        EXPECT_STREQ(Progress, "1") << "content of " << content.size() << " bytes";
        EXPECT_EQ(fileContent(), "1");
    }
    EXPECT_EQ(boxesShown(), 0);
    EXPECT_FALSE(quitRequested);
}

TEST_F(ProgressFileTest, AnEndlessFileIsReadOnlyAsFarAsATokenCanReach) {
    // A link to a device is no progress file: the link itself is replaced.
    fs::create_symlink("/dev/zero", "Data.dat");
    startGame();
    EXPECT_STREQ(Progress, "1");
    EXPECT_FALSE(fs::is_symlink("Data.dat"));
    EXPECT_EQ(fileContent(), "1");
}

TEST_F(ProgressFileTest, AMissingFileGivesTheMessageEndsTheRunAndLeavesOneBehind) {
    openProgressFile();
    EXPECT_EQ(scripted::runGameWith([](int) { scripted::requestClose(); }), 1)
        << "the game was not played: the run ends with 1";
    EXPECT_EQ(fileContent(), "1");
    fs::remove("Data.dat");
    scripted::script().boxes.clear();
    startGame();
    ASSERT_EQ(boxesShown(), 1);
    EXPECT_EQ(scripted::script().boxes[0].text, "Can't open Data.dat");
    EXPECT_EQ(scripted::script().boxes[0].caption, "ERROR");
    EXPECT_EQ(scripted::script().boxes[0].icon, platform::MessageBoxIcon::Exclamation);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(fileContent(), "1");
}

TEST_F(ProgressFileTest, AFileThatCannotBeOpenedIsLeftUntouched) {
    if (::geteuid() == 0) {
        // root reads and writes through any permission bits; the folder case still runs below
        GTEST_LOG_(INFO) << "running as root: the read-only case cannot be made";
    } else {
        writeFile("4");
        fs::permissions("Data.dat", fs::perms::owner_read);
        startGame();
        EXPECT_TRUE(quitRequested);
        EXPECT_EQ(boxesShown(), 1);
        EXPECT_EQ(fileContent(), "4");
        fs::permissions("Data.dat", fs::perms::owner_all);
        fs::remove("Data.dat");
        quitRequested = false;
    }
    fs::create_directory("Data.dat");
    const int boxesBefore = boxesShown();
    startGame();
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(boxesShown(), boxesBefore + 1);
    EXPECT_TRUE(fs::is_directory("Data.dat"));
}

// Started with the standard streams closed, as launchers and service managers may: Data.dat never
// takes one of their numbers, they end up on /dev/null, and what is written to them is lost
// rather than written into the player's progress.
TEST_F(ProgressFileTest, ClosedStandardStreamsNeverBecomeTheProgressFile) {
    writeFile("3");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(STDIN_FILENO);
        ::close(STDOUT_FILENO);
        ::close(STDERR_FILENO);
        openProgressFile();
        int faults = ProgressFile.file.systemHandle() > STDERR_FILENO ? 0 : 1;
        platform::openStandardStreams();
        for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
            char target[64] = {};
            const std::string link = "/proc/self/fd/" + std::to_string(stream);
            if (::readlink(link.c_str(), target, sizeof target - 1) <= 0 ||
                std::strcmp(target, "/dev/null") != 0) {
                faults |= 2;
            }
        }
        std::fputs("Usage: tolvar\n", stderr);
        std::fflush(stderr);
        std::fputs("1\n", stdout);
        std::fflush(stdout);
        recordProgress(4); // a save still reaches it
        std::_Exit(faults);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status) & 1, 0) << "Data.dat took a standard stream's number";
    EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "a closed standard stream was not put on /dev/null";
    EXPECT_EQ(fileContent(), "4");
}

TEST_F(ProgressFileTest, ProgressIsRaisedButNeverLowered) {
    writeFile("3");
    startGame();
    recordProgress(2);
    recordProgress(3);
    EXPECT_EQ(fileContent(), "3");
    EXPECT_STREQ(Progress, "3");
    recordProgress(4);
    EXPECT_EQ(fileContent(), "4");
    recordProgress(5);
    EXPECT_EQ(fileContent(), "5");
    EXPECT_EQ(fs::file_size("Data.dat"), 1u);
    EXPECT_FALSE(fs::exists("Data.dat.new"));
}

TEST_F(ProgressFileTest, AWriteThatFailsStillRaisesProgressInMemory) {
    writeFile("2");
    startGame();
    fs::create_directory("Data.dat.new"); // the replacement cannot be written
    recordProgress(3);
    EXPECT_STREQ(Progress, "3");
    EXPECT_EQ(fileContent(), "2");
    EXPECT_EQ(unlockedLevel(), 3);
}

TEST_F(ProgressFileTest, AWriteGoesThroughALinkToTheFileItNames) {
    fs::create_directory("elsewhere");
    std::ofstream("elsewhere/progress") << "2";
    fs::permissions("elsewhere/progress", fs::perms(0640));
    fs::create_symlink("elsewhere/progress", "Data.dat");
    startGame();
    EXPECT_STREQ(Progress, "2");
    recordProgress(3);
    EXPECT_TRUE(fs::is_symlink("Data.dat"));
    EXPECT_EQ(fileContent(), "3");
    EXPECT_EQ(fs::status("elsewhere/progress").permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists("elsewhere/progress.new"));

    // A link to a file that is not there yet: the file is made where the link points.
    fs::remove("Data.dat");
    fs::create_symlink("elsewhere/later", "Data.dat");
    startGame();
    EXPECT_TRUE(fs::is_symlink("Data.dat"));
    EXPECT_EQ(fileContent(), "1");
}

TEST_F(ProgressFileTest, AReadOnlyFileIsNeverReplaced) {
    writeFile("2");
    fs::permissions("Data.dat", fs::perms(0444));
    openProgressFile();
    if (!ProgressFile.file.isOpen()) {
        // not root: covered by the test above
        ASSERT_EQ(ProgressFile.openResult, platform::OpenResult::Failed);
        return;
    }
    loadProgress();
    recordProgress(4);
    EXPECT_STREQ(Progress, "4"); // kept in memory, as when a write fails
    EXPECT_EQ(fileContent(), "2");
    EXPECT_EQ(fs::status("Data.dat").permissions(), fs::perms(0444));
}

// Two copies of the game on one folder: the one that loaded the lower level never writes it
// over the higher one the other has saved since.
TEST_F(ProgressFileTest, AnotherCopysHigherProgressIsNeverLowered) {
    writeFile("1");
    startGame();
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        recordProgress(2);
        recordProgress(3);
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ASSERT_EQ(fileContent(), "3");
    recordProgress(2);
    EXPECT_EQ(fileContent(), "3");
    recordProgress(4);
    EXPECT_EQ(fileContent(), "4");
}

// Copies saving at the same moment: whichever order their steps interleave in, the highest
// level is what stays.
TEST_F(ProgressFileTest, CopiesSavingTogetherKeepTheHighestLevel) {
    for (int round = 0; round < 40; ++round) {
        writeFile("1");
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t copies[4];
        for (int copy = 0; copy < 4; ++copy) {
            copies[copy] = ::fork();
            ASSERT_GE(copies[copy], 0);
            if (copies[copy] == 0) {
                ::close(start[1]);
                char go = 0;
                while (::read(start[0], &go, 1) < 0 && errno == EINTR) {
                }
                Progress[0] = '1';
                recordProgress(copy + 2);
                std::_Exit(0);
            }
        }
        ::close(start[0]);
        ::close(start[1]); // every copy starts at once
        for (const pid_t copy : copies) {
            ::waitpid(copy, nullptr, 0);
        }
        ASSERT_EQ(fileContent(), "5") << "round " << round;
    }
}

// The player closes the game while "Completed!" counts down: the level is won all the same.
TEST_F(ProgressFileTest, ClosingDuringTheCountdownKeepsTheLevel) {
    writeFile("1");
    openProgressFile();
    GameState = Level1Play;
    std::srand(7);
    dealLevel(1);
    blocksLeft = 0; // the last block has just landed
    std::string onDiskAtCountdown;
    scripted::script().onPresent = [&](int frame) {
        if (frame == 2) { // the countdown's first frame
            onDiskAtCountdown = fileContent();
            scripted::requestClose();
        }
    };
    EXPECT_EQ(scripted::runGameWith([](int) {}), 0);
    scripted::script().onPresent = nullptr;
    EXPECT_EQ(onDiskAtCountdown, "2");
    EXPECT_EQ(GameState, Level1Complete); // ended before the completion step
    EXPECT_EQ(fileContent(), "2");
    EXPECT_STREQ(Progress, "2");
}

// A child writes progress over and over and is killed at random moments: whatever the moment,
// the file holds one valid digit, never below what it held before the child began.
TEST_F(ProgressFileTest, KillingAWriterAtAnyMomentNeverLosesProgress) {
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        const int floor = 1 + static_cast<int>(random() % 4);
        writeFile(std::string(1, static_cast<char>('0' + floor)));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                for (int level = floor; level <= 5; ++level) {
                    Progress[0] = '0'; // forget, so that every call writes
                    recordProgress(level);
                }
            }
        }
        ::usleep(static_cast<useconds_t>(random() % 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string content = fileContent();
        ASSERT_EQ(content.size(), 1u) << "round " << round;
        EXPECT_GE(content[0], '0' + floor) << "round " << round;
        EXPECT_LE(content[0], '5') << "round " << round;
    }
}

} // namespace
