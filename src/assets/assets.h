// Assets and persistence: the pictures as textures, the progress file and the music tracks.
#pragma once

#include <string>

#include "layout/layout.h"
#include "platform/files.h"
#include "platform/platform.h"

// ---- music.cpp -------------------------------------------------------------------------------

using layout::levelTrack; // by level, from 1
using layout::menuTrack;

constexpr int MusicSampleRate = 32000;

extern platform::SongHandle musicHandle; // the one song loaded now

void changeMusic(
    const char* path); // stop, load, play; the same track starts again from its beginning

extern bool musicMuted; // M: silent on every screen and every track until M again
void toggleMusicMute(); // and keeps the choice in Settings.txt

// ---- textures.cpp ----------------------------------------------------------------------------

// Texture names, 0 until loadTextures; the arrays count from 1, by level and by weight.
extern unsigned int logoTexture;
extern unsigned int menuTexture;
extern unsigned int playMenuTexture;
extern unsigned int levelBackground[6];
extern unsigned int boardTexture;
extern unsigned int ballTexture;
extern unsigned int weightTextures[11];
extern unsigned int boxTexture;
extern unsigned int gameOverTexture;
extern unsigned int helpTexture;
extern unsigned int creditsTexture;
extern unsigned int levelSelectTexture;

void startImageLibrary(); // before loadTextures
int loadTextures();       // all 25 pictures, in their fixed order; 0 in every case
// The same in two steps, so that the logo shows without waiting for the other pictures: the logo
// alone, then the other 24 (loaded while the logo is held).
void loadLogoTexture();
void loadTexturesAfterLogo();
void finishImageLibrary(); // after loading; 2-D texturing is on from here for the whole run

// ---- progress_file.cpp -----------------------------------------------------------------------

constexpr const char* ProgressFileName = "Data.dat";

// Data.dat as the game holds it: opened for reading and writing once the game's folder is found,
// closed once loadProgress has read it.
struct ProgressFileHandle {
    platform::FileHandle file;
    platform::OpenResult openResult = platform::OpenResult::Failed;
    std::string whyNotOpened; // the system's words, when it was not
};

extern ProgressFileHandle ProgressFile;
extern char Progress[2]; // the unlocked level, "1" to "5"; "0" until loadProgress

void openProgressFile(); // in the game's folder (findGameFolder); again in tests
void loadProgress();     // reads, and where needed repairs, Data.dat; may set quitRequested
// Raises the unlocked level to `level`, never lowers it. A save that fails is told, and tried again
// at the next call, whatever its level: the run keeps the level all the same.
void recordProgress(int level);
int unlockedLevel(); // 1 to 5 once loaded; 0 before
// A first start in a folder of the player's own: Data.dat made holding 1 where there is none, so
// that the run does not end on its absence. A file already there stays as it is.
void makeProgressFileIfMissing();

// ---- player_file_saves.cpp -------------------------------------------------------------------

// The folder of the player's file at `path` locked for a save (lockFolderOf); when it cannot be,
// a line on standard error says so and the handle is not open: the save goes on without it.
platform::FileHandle lockForSaving(const std::string& path);
// A save of `what` ("the progress") in the file at `path` failed: a line on standard error each
// time, and a box for the player, who may have no terminal, the first time in a run.
void tellFailedSave(const char* what, const std::string& path, const std::string& reason);
extern bool failedSaveShown; // the player has been told in a box this run

// ---- settings_file.cpp -----------------------------------------------------------------------

// What the player chose, kept between runs beside the progress as "key = value" lines, the keys
// and their values as settings_file.cpp's table has them (music, window, window_size).
// Other lines (comments starting with #, keys of other versions) are kept as they are.
constexpr const char* SettingsFileName = "Settings.txt";
constexpr int LargestWindowSide = 16384;
// The smallest window that still shows the game: half the drawing space, where the small text's
// characters are 8 pixels high, the least a glyph can still be read at.
constexpr int SmallestWindowWidth = layout::screenWidth / 2;
constexpr int SmallestWindowHeight = layout::screenHeight / 2;

struct Settings {
    bool musicMuted = false;
    bool fullscreen = true;
    int windowWidth = layout::screenWidth; // the client area out of full screen
    int windowHeight = layout::screenHeight;
    bool operator==(const Settings&) const = default;
};

// The keys of the file, as bits: which of them a write sets.
enum SettingKey : unsigned int { MusicSetting = 1, WindowSetting = 2, WindowSizeSetting = 4 };

// The settings in the file at `path`; the default for each one missing. A damaged value, or a
// file that cannot be read, gives one line on standard error and the default.
Settings readSettingsFile(const char* path);
// Sets the lines of the `keys` to their values in `settings`, adding those the file lacks, and
// keeps every other line as it is; the file is replaced durably and only when its text changes.
// False, told as tellFailedSave tells, when the file could not be read or replaced.
bool writeSettingsFile(const char* path, const Settings& settings, unsigned int keys);

// Settings.txt in the working folder, read; what it holds is remembered for saveSettings.
Settings loadSettings();
// Writes those of the `keys` whose value in `now` differs from what Settings.txt holds; nothing
// when none does, and the other keys of `now` are not read. Called when the player changes one,
// never per frame.
void saveSettings(const Settings& now, unsigned int keys);
