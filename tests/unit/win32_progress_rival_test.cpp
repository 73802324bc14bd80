// A rival copy of the game in a process of its own holds the progress folder's lock while this
// copy saves: the save waits for it and then neither loses its own level nor lowers the rival's.
// On Linux the forked copies of progress_file_processes_test.cpp show the same; here the rival is
// this test program started again, told by its environment to play the rival's part.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "assets/assets.h"
#include "platform/files.h"
#include "platform/win32_utf16.h"
#include "unit/progress_file_fixture.h"

namespace {

using progress_test::ProgressFileTest;

// Set for the rival only: the folder whose progress it saves, the level it saves, and the prefix
// of the two events the copies tell each other by.
constexpr const wchar_t* RivalFolderVariable = L"TOLVAR_RIVAL_FOLDER";
constexpr const wchar_t* RivalLevelVariable = L"TOLVAR_RIVAL_LEVEL";
constexpr const wchar_t* RivalEventsVariable = L"TOLVAR_RIVAL_EVENTS";

std::optional<std::wstring> environmentVariable(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        return std::nullopt;
    }
    return std::wstring(value, length);
}

// An event both copies open by name: the rival has locked the folder; the game has begun saving.
struct RivalEvents {
    explicit RivalEvents(const std::wstring& prefix)
        : locked(::CreateEventW(nullptr, TRUE, FALSE, (prefix + L"-locked").c_str())),
          saving(::CreateEventW(nullptr, TRUE, FALSE, (prefix + L"-saving").c_str())) {}
    ~RivalEvents() {
        ::CloseHandle(locked);
        ::CloseHandle(saving);
    }
    RivalEvents(const RivalEvents&) = delete;
    RivalEvents& operator=(const RivalEvents&) = delete;

    HANDLE locked;
    HANDLE saving;
};

// The rival's part: it locks the folder, says so, and once the game has begun its own save
// writes its level over whatever the file holds (a copy that read the file before the game
// saved) and lets the lock go.
void playTheRival(const std::wstring& folder, char level, const std::wstring& events) {
    const RivalEvents told(events);
    ASSERT_TRUE(told.locked && told.saving);
    const std::optional<std::string> folderName = platform::utf8FromUtf16(folder);
    ASSERT_TRUE(folderName.has_value());
    const std::string target = *folderName + "\\" + ProgressFileName;
    const platform::FileHandle lock = platform::lockFolderOf(target);
    ASSERT_TRUE(lock.isOpen()) << platform::lastFileError();
    ::SetEvent(told.locked);
    ASSERT_EQ(::WaitForSingleObject(told.saving, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(platform::replaceFileDurably(target, &level, 1, 0644, lock))
        << platform::lastFileError();
}

// Starts this program again as the rival, which saves `level` into this test's folder. It starts
// in `startFolder`, away from that folder: a test program opens the Data.dat of the folder it
// starts in and keeps it open, and Windows refuses to replace a file that is open.
HANDLE startTheRival(const std::wstring& folder, char level, const std::wstring& events,
                     const std::wstring& startFolder) {
    wchar_t program[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    std::wstring command = L"\"" + std::wstring(program, length) +
                           L"\" --gtest_filter=ProgressFileTest.*HoldingTheLock*";
    ::SetEnvironmentVariableW(RivalFolderVariable, folder.c_str());
    ::SetEnvironmentVariableW(RivalLevelVariable, std::wstring(1, level).c_str());
    ::SetEnvironmentVariableW(RivalEventsVariable, events.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const bool made = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                       startFolder.c_str(), &startup, &started);
    for (const wchar_t* name : {RivalFolderVariable, RivalLevelVariable, RivalEventsVariable}) {
        ::SetEnvironmentVariableW(name, nullptr); // this copy's own environment stays as it was
    }
    if (!made) {
        return nullptr;
    }
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

TEST_F(ProgressFileTest, ARivalHoldingTheLockNeitherLosesNorLowersProgress) {
    const std::optional<std::wstring> rivalFolder = environmentVariable(RivalFolderVariable);
    if (rivalFolder) {
        const std::optional<std::wstring> level = environmentVariable(RivalLevelVariable);
        const std::optional<std::wstring> events = environmentVariable(RivalEventsVariable);
        ASSERT_TRUE(level && level->size() == 1 && events);
        playTheRival(*rivalFolder, static_cast<char>((*level)[0]), *events);
        return;
    }
    struct Round {
        char rivalSaves;
        int gameRecords;
        const char* fileHolds;
    };
    const Round rounds[] = {{'5', 4, "5"},  // the rival's higher level is not lowered
                            {'3', 4, "4"}}; // the game's own is not lost to the rival's write
    writeFile("1");
    startGame();
    for (const Round& round : rounds) {
        SCOPED_TRACE(testing::Message() << "the rival saves " << round.rivalSaves);
        writeFile("1");
        Progress[0] = '1';
        const std::wstring events = L"tolvar-rival-" + std::to_wstring(::GetCurrentProcessId()) +
                                    L"-" + std::wstring(1, static_cast<wchar_t>(round.rivalSaves));
        const RivalEvents told(events);
        ASSERT_TRUE(told.locked && told.saving);
        const HANDLE rival =
            startTheRival(folder.wstring(), round.rivalSaves, events, previous.wstring());
        ASSERT_NE(rival, nullptr) << "the rival did not start";
        const HANDLE lockedOrEnded[] = {told.locked, rival};
        const DWORD first = ::WaitForMultipleObjects(2, lockedOrEnded, FALSE, INFINITE);
        std::thread save;
        if (first == WAIT_OBJECT_0) {
            save = std::thread([&] { recordProgress(round.gameRecords); });
            ::SetEvent(told.saving);
        }
        ::WaitForSingleObject(rival, INFINITE);
        if (save.joinable()) {
            save.join();
        }
        DWORD rivalStatus = 1;
        ::GetExitCodeProcess(rival, &rivalStatus);
        ::CloseHandle(rival);
        ASSERT_EQ(first, WAIT_OBJECT_0) << "the rival ended before it held the lock";
        EXPECT_EQ(rivalStatus, 0u) << "the rival's own checks failed";
        EXPECT_EQ(fileContent(), round.fileHolds);
    }
}

} // namespace
