// What a save of the player's files promises on every system, the same tests on each: it waits
// for a rival copy's lock, it is made whole or not at all and leaves nothing behind, a damaged
// file is kept before its repair, and a save that cannot lock or cannot write says so.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "assets/assets.h"
#include "platform/files.h"
#include "support/file_bytes.h"
#include "support/scripted_platform.h"
#include "unit/progress_file_fixture.h"
#include "unit/refused_folder_locks.h"

namespace {

namespace fs = std::filesystem;

class SaveContractTest : public progress_test::ProgressFileTest {
protected:
    void SetUp() override {
        ProgressFileTest::SetUp();
        failedSaveShown = false;
    }
    // What a run of `step` wrote on standard error.
    template <typename Step> static std::string toldOnStandardError(Step step) {
        ::testing::internal::CaptureStderr();
        step();
        return ::testing::internal::GetCapturedStderr();
    }
    // The names in the working folder beside the pictures' folder: a save leaves nothing else.
    static std::set<std::string> namesInFolder() {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
            const std::string name = entry.path().filename().string();
            if (name != "Data" && name != "tolvar.lock") { // Windows' lock file stays for good
                names.insert(name);
            }
        }
        return names;
    }
};

// What Notepad saves as "UTF-8": a byte-order mark before the digit, and a line end.
constexpr const char* NotepadsThree = "\xEF\xBB\xBF"
                                      "3\r\n";

struct SaveCase {
    const char* what;
    const char* before;      // Data.dat as the game starts
    int loads;               // the level the start reads
    void (*afterStart)();    // what the player does before level 3 is won; may be null
    bool locksRefused;       // the save runs where the folder's lock cannot be had
    const char* after;       // Data.dat once level 3 is won; null: a folder
    const char* keptDamaged; // Data.dat.damaged; null: none
    const char* stderrSays;  // a piece of what standard error says; "": nothing
    bool told;               // a box tells the player
};

TEST_F(SaveContractTest, ASaveIsMadeWholeOrToldAndLeavesNothingBehind) {
    const SaveCase cases[] = {
        {"plain", "2", 2, nullptr, false, "4", nullptr, "", false},
        {"a byte-order mark", NotepadsThree, 3, nullptr, false, "4", nullptr, "", false},
        {"damaged", "abc", 1, nullptr, false, "4", "abc", "held no level", false},
        {"empty", "", 1, nullptr, false, "4", "", "held no level", false},
        {"read-only", "2", 2, [] { fs::permissions("Data.dat", fs::perms::owner_read); }, false,
         "2", nullptr, "cannot save the progress in Data.dat (it is read-only)", true},
        {"a folder in its place", "2", 2,
         [] {
             fs::remove("Data.dat");
             fs::create_directory("Data.dat");
         },
         false, nullptr, nullptr, "cannot save the progress in Data.dat (", true},
        {"no lock to be had", "2", 2, nullptr, true, "4", nullptr,
         "cannot lock the folder of Data.dat", false},
    };
    for (const SaveCase& save : cases) {
        SCOPED_TRACE(save.what);
        fs::remove_all("Data.dat");
        fs::remove("Data.dat.damaged");
        writeFile(save.before);
        failedSaveShown = false;
        const int boxesBefore = boxesShown();
        std::string said = toldOnStandardError([] { startGame(); });
        EXPECT_EQ(unlockedLevel(), save.loads);
        if (save.afterStart != nullptr) {
            save.afterStart();
        }
        said += toldOnStandardError([&] {
            std::thread([&] {
                if (save.locksRefused) {
                    refused_locks::refuseFolderLocksOnThisThread();
                }
                recordProgress(4);
            }).join();
        });
        EXPECT_EQ(unlockedLevel(), 4) << "the run keeps the level it won";
        if (save.after != nullptr) {
            EXPECT_EQ(fileContent(), save.after);
        } else {
            EXPECT_TRUE(fs::is_directory("Data.dat"));
        }
        std::set<std::string> left = {"Data.dat"};
        if (save.keptDamaged != nullptr) {
            left.insert("Data.dat.damaged");
            EXPECT_EQ(support::fileBytes("Data.dat.damaged"), save.keptDamaged);
        }
        EXPECT_EQ(namesInFolder(), left);
        if (*save.stderrSays == '\0') {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find(save.stderrSays), std::string::npos) << said;
        }
        EXPECT_EQ(boxesShown() - boxesBefore, save.told ? 1 : 0);
        fs::permissions("Data.dat", fs::perms::owner_all, fs::perm_options::add);
    }
}

// The player is told once; each save after a failed one is made again, whatever its level, so
// the level is on disk as soon as the folder takes it.
TEST_F(SaveContractTest, AFailedSaveIsToldOnceAndMadeAgainAtTheNextLevel) {
    writeFile("2");
    startGame();
    fs::permissions("Data.dat", fs::perms::owner_read);
    const int boxesBefore = boxesShown();
    recordProgress(3);
    recordProgress(4);
    EXPECT_EQ(boxesShown() - boxesBefore, 1);
    EXPECT_EQ(fileContent(), "2");
    fs::permissions("Data.dat", fs::perms::owner_all);
    recordProgress(2); // level 1 played again
    EXPECT_EQ(fileContent(), "4");
    recordProgress(4);
    EXPECT_EQ(boxesShown() - boxesBefore, 1);
}

// A save made while a rival copy holds the folder's lock: the test sees it begin to wait, then
// the rival, which read the file before, writes its own level and lets go, and the save ends.
// The rival holds the lock through a handle of its own, as another copy's process does.
struct LockWait {
    std::mutex mutex;
    std::condition_variable changed;
    bool saveWaits = false;
    bool saveEnded = false;
} lockWait;

void noteTheSaveWaits() {
    const std::lock_guard<std::mutex> hold(lockWait.mutex);
    lockWait.saveWaits = true;
    lockWait.changed.notify_all();
}

struct RivalRound {
    char rivalSaves;
    int gameRecords;
    const char* fileHolds;
};

TEST_F(SaveContractTest, ASaveWaitsForARivalsLockAndNeitherLowersNorLosesALevel) {
    const RivalRound rounds[] = {{'5', 4, "5"},  // the rival's higher level is not lowered
                                 {'3', 4, "4"}}; // the game's own is not lost to the rival's write
    for (const RivalRound& round : rounds) {
        SCOPED_TRACE(testing::Message() << "the rival saves " << round.rivalSaves);
        writeFile("1");
        startGame();
        platform::FileHandle rivalLock = platform::lockFolderOf(ProgressFileName);
        ASSERT_TRUE(rivalLock.isOpen()) << platform::lastFileError();
        lockWait.saveWaits = lockWait.saveEnded = false;
        platform::watchLockWaits(noteTheSaveWaits);
        std::thread save([&] {
            recordProgress(round.gameRecords);
            const std::lock_guard<std::mutex> hold(lockWait.mutex);
            lockWait.saveEnded = true;
            lockWait.changed.notify_all();
        });
        {
            std::unique_lock<std::mutex> hold(lockWait.mutex);
            lockWait.changed.wait(hold, [] { return lockWait.saveWaits || lockWait.saveEnded; });
            EXPECT_FALSE(lockWait.saveEnded) << "the save did not wait for the rival's lock";
        }
        EXPECT_EQ(fileContent(), "1");
        EXPECT_TRUE(platform::replaceFileDurably(ProgressFileName, &round.rivalSaves, 1, 0644));
        rivalLock.close();
        save.join();
        platform::watchLockWaits(nullptr);
        EXPECT_EQ(fileContent(), round.fileHolds);
    }
}

} // namespace
