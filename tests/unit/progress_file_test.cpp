#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "assets/assets.h"
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
    fs::create_symlink("/dev/zero", "Data.dat");
    startGame();
    EXPECT_STREQ(Progress, "1");
    EXPECT_FALSE(fs::is_symlink("Data.dat"));
    EXPECT_EQ(fileContent(), "1");
}

TEST_F(ProgressFileTest, AMissingFileGivesTheMessageEndsTheRunAndLeavesOneBehind) {
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
