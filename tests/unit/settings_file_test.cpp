#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "assets/assets.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/file_bytes.h"
#include "support/own_game_folder_test.h"
#include "support/scripted_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using scripted::script;

class SettingsFileTest : public support::OwnGameFolderTest {
protected:
    static void writeFile(const char* content) {
        fs::remove_all(SettingsFileName);
        if (content != nullptr) {
            std::ofstream(SettingsFileName, std::ios::binary) << content;
        }
    }
    static std::string fileContent() { return support::fileBytes(SettingsFileName); }
    // Lines on standard error naming the file, while `run` runs.
    template <typename Run> static int complaints(Run run) {
        ::testing::internal::CaptureStderr();
        run();
        std::istringstream said(::testing::internal::GetCapturedStderr());
        int lines = 0;
        for (std::string line; std::getline(said, line);) {
            lines += line.find(SettingsFileName) != std::string::npos ? 1 : -1000;
        }
        return lines;
    }
};

struct ReadCase {
    const char* content; // nullptr: no file; "/": a folder in its place
    Settings expected;
    int complaints;
};

TEST_F(SettingsFileTest, ReadingGivesTheDefaultForWhatIsMissingOrDamaged) {
    const Settings defaults;
    const ReadCase cases[] = {
        {nullptr, defaults, 0},
        {"", defaults, 0},
        {"  music=OFF\r\nwindow = windowed\nwindow_size = 800x600", {true, false, 800, 600}, 0},
        {"# music = off\nvolume = 3\nno equals sign\nwindow = windowed\n", {false, false}, 0},
        {"music = loud\nwindow =\nwindow_size = 0x600\n", defaults, 3},
        {"window_size = 16385x768\nwindow_size = -5x768\nwindow_size = 99999999999x1\n", defaults,
         3},
        {"window_size = 16384x384\nmusic = off\nmusic = on\n", {false, true, 16384, 384}, 0},
        // Too small to show the game.
        {"window_size = 1x1\nwindow_size = 511x384\nwindow_size = 512x383\n", defaults, 3},
        // An editor's byte-order mark is no part of the first key.
        {"\xEF\xBB\xBFmusic = off\r\n", {true}, 0},
        {"/", defaults, 1},
    };
    for (const ReadCase& read : cases) {
        const std::string content = read.content == nullptr ? "(none)" : read.content;
        SCOPED_TRACE(content);
        writeFile(content == "/" ? nullptr : read.content);
        if (content == "/") {
            fs::create_directory(SettingsFileName);
        }
        Settings settings;
        EXPECT_EQ(complaints([&] { settings = readSettingsFile(SettingsFileName); }),
                  read.complaints);
        EXPECT_EQ(settings, read.expected);
    }
    // A damaged value is echoed whole and safely: no control byte reaches the terminal. The
    // complaint says what the value should be.
    writeFile(nullptr);
    std::ofstream(SettingsFileName, std::ios::binary)
        << std::string("music = o\0n\x1B[2J\"\nwindow_size = 1x1\n", 35);
    ::testing::internal::CaptureStderr();
    readSettingsFile(SettingsFileName);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(R"(music should be on or off, not "o\x00n\x1B[2J\"":)"), std::string::npos);
    EXPECT_NE(said.find("window_size should be WIDTHxHEIGHT, from 512x384 to 16384x16384, not"),
              std::string::npos)
        << said;
}

struct WriteCase {
    const char* before; // nullptr: no file
    unsigned int keys;
    const char* after; // nullptr: the file is refused and stays as it was
};

TEST_F(SettingsFileTest, WritingSetsOnlyTheKeysAskedAndKeepsEveryOtherLine) {
    const Settings chosen{true, false, 800, 600};
    const WriteCase cases[] = {
        {"# mine\nvolume = 7\nmusic = on\nwindow = fullscreen\n", MusicSetting,
         "# mine\nvolume = 7\nmusic = off\nwindow = fullscreen\n"},
        {"volume = 7", WindowSetting | WindowSizeSetting,
         "volume = 7\nwindow = windowed\nwindow_size = 800x600\n"},
        {"music = loud\r\nmusic = on", MusicSetting, "music = off\r\nmusic = off"},
        {"volume = 7\r\n", WindowSetting, "volume = 7\r\nwindow = windowed\r\n"},
        {"", MusicSetting, "music = off\n"},
        {"\xEF\xBB\xBFmusic = on\n", MusicSetting, "\xEF\xBB\xBFmusic = off\n"},
        {"\xEF\xBB\xBF", MusicSetting, "\xEF\xBB\xBFmusic = off\n"},
        {nullptr, MusicSetting,
         "# Tolvar's settings, written when you change them in the game.\n# music = on | off, "
         "window = fullscreen | windowed, window_size = WIDTHxHEIGHT\nmusic = off\n"},
    };
    for (const WriteCase& write : cases) {
        SCOPED_TRACE(write.before);
        writeFile(write.before);
        EXPECT_TRUE(writeSettingsFile(SettingsFileName, chosen, write.keys));
        EXPECT_EQ(fileContent(), write.after);
        for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
            EXPECT_FALSE(entry.path().filename().string().starts_with(SettingsFileName + "."s))
                << "a save left " << entry.path();
        }
    }
}

TEST_F(SettingsFileTest, ANewFileReadsBackAndAFileThatCannotBeWrittenStaysAsItWas) {
    const Settings chosen{true, false, 640, 480};
    writeFile(nullptr);
    EXPECT_TRUE(writeSettingsFile(SettingsFileName, chosen,
                                  MusicSetting | WindowSetting | WindowSizeSetting));
    EXPECT_EQ(fileContent().front(), '#'); // says what it holds
    EXPECT_EQ(readSettingsFile(SettingsFileName), chosen);

    bool written = true;
    const std::size_t boxesBefore = script().boxes.size();
    const std::string elsewhere = std::string("no-such-folder/") + SettingsFileName;
    // No folder to lock, and none to save in: both are said.
    EXPECT_EQ(complaints([&] { written = writeSettingsFile(elsewhere.c_str(), chosen, 1); }), 2);
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists("no-such-folder"));

    writeFile("music = on\n");
    fs::permissions(SettingsFileName, fs::perms::owner_read); // the player's: even root keeps off
    EXPECT_EQ(complaints([&] { written = writeSettingsFile(SettingsFileName, chosen, 1); }), 1);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileContent(), "music = on\n");
    EXPECT_EQ(script().boxes.size() - boxesBefore, 1u) << "the player is told, once a run";
}

TEST_F(SettingsFileTest, WhatThePlayerChangesIsKeptAndTheNextStartBeginsThatWay) {
    GameState = MainMenu;
    fadePending = false;
    useSettings(loadSettings()); // no file: as ever
    // M (the next frame mutes), full screen to a window, a resize, a frame, and out.
    const std::function<void()> steps[] = {
        [] { scripted::tapKey(VK_M); },     [] {}, scripted::toggleFullscreen,
        [] { scripted::resize(800, 600); }, [] {}, scripted::requestClose};
    scripted::runGameWith([&](int pass) { steps[std::min<std::size_t>(pass, 5)](); });
    EXPECT_EQ(scripted::countCalls("window Tolvar 1024x768 fullscreen"), 1);
    EXPECT_EQ(readSettingsFile(SettingsFileName), (Settings{true, false, 800, 600}));

    // The second start: the desktop gives the window the size asked.
    quitRequested = false;
    script().calls.clear();
    script().musicMuted = false;
    script().drawableWidth = 800;
    script().drawableHeight = 600;
    useSettings(loadSettings());
    const std::string before = fileContent();
    scripted::runGameWith([](int pass) {
        if (pass == 1) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(scripted::countCalls("window Tolvar 800x600 windowed"), 1);
    EXPECT_TRUE(script().musicMuted);
    EXPECT_EQ(fileContent(), before); // nothing changed, nothing written
}

// A size saved on a larger screen gives a window that fits this one, and stays saved for the
// larger one; a window shrunk below what can show the game is not kept either.
TEST_F(SettingsFileTest, AWindowNeverOutgrowsTheScreenAndTheSavedSizeIsKept) {
    writeFile("window = windowed\nwindow_size = 2560x1920\n");
    useSettings(loadSettings());
    script().usableScreenWidth = 1024;
    script().usableScreenHeight = 740;
    script().drawableWidth = 986; // the size the game asks for
    script().drawableHeight = 740;
    scripted::runGameWith([](int pass) {
        if (pass == 0) {
            scripted::resize(300, 200);
        } else if (pass == 2) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(scripted::countCalls("window Tolvar 986x740 windowed"), 1);
    EXPECT_EQ(fileContent(), "window = windowed\nwindow_size = 2560x1920\n");
}

} // namespace
