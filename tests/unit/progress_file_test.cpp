#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "assets/assets.h"
#include "game/game.h"
#include "platform/standard_streams.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"
#include "unit/progress_file_fixture.h"

namespace {

namespace fs = std::filesystem;
using progress_test::ProgressFileTest;

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

// Repaired without a box, but what the file held is kept beside it, and standard error says so.
TEST_F(ProgressFileTest, InvalidContentIsRepairedToOneAndKeptBeside) {
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
        EXPECT_EQ(fs::file_size("Data.dat.damaged"), std::min<std::size_t>(content.size(), 65536));
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
    writeFile("4");
    fs::permissions("Data.dat", fs::perms::owner_read);
    if (std::ofstream("Data.dat", std::ios::app).is_open()) {
        // this account (root) writes through the read-only mark; the folder case still runs below
        GTEST_LOG_(INFO) << "a read-only file is writable here: that case cannot be made";
        fs::permissions("Data.dat", fs::perms::owner_all);
        fs::remove("Data.dat");
    } else {
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
    EXPECT_EQ(std::distance(fs::directory_iterator("elsewhere"), {}), 1) << "a save left a file";

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

} // namespace
