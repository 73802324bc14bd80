// Assets and persistence: the pictures as textures, the progress file and the music tracks.
#pragma once

#include "layout/layout.h"
#include "platform/platform.h"

// ---- music.cpp -------------------------------------------------------------------------------

using layout::levelTrack; // by level, from 1
using layout::menuTrack;

constexpr int MusicSampleRate = 32000;

extern platform::SongHandle musicHandle; // the one song loaded now

void changeMusic(
    const char* path); // stop, load, play; the same track starts again from its beginning

extern bool musicMuted; // M: silent on every screen and every track until M again
void toggleMusicMute();

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

// Data.dat as the game holds it: opened for reading and writing before the game starts, closed
// by the first write.
struct ProgressFileStream {
    int descriptor = -1;
    int openError = 0; // errno of a failed open, 0 when it opened
    ProgressFileStream();
    ~ProgressFileStream();
    ProgressFileStream(const ProgressFileStream&) = delete;
    ProgressFileStream& operator=(const ProgressFileStream&) = delete;
};

extern ProgressFileStream ProgressFile;
extern char Progress[2]; // the unlocked level, "1" to "5"; "0" until loadProgress

void openProgressFile();        // what happens before the game starts; again in tests
void loadProgress();            // reads, and where needed repairs, Data.dat; may set quitRequested
void recordProgress(int level); // raises the unlocked level to `level`, never lowers it
int unlockedLevel();            // 1 to 5 once loaded; 0 before
