// The progress file with copies of the game in processes of their own: started with the standard
// streams closed, saving side by side, killed while writing. They fork: not built on Windows
// (tests/CMakeLists.txt).
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "assets/assets.h"
#include "platform/platform.h"
#include "platform/standard_streams.h"
#include "shell/shell.h"
#include "unit/progress_file_fixture.h"

namespace {

using progress_test::ProgressFileTest;

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
