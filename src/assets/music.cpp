#include "assets/assets.h"

platform::SongHandle musicHandle = 0;

void changeMusic(const char* path) {
    platform::stopSong(musicHandle);
    // The replaced song is released at once: only one module is ever held.
    platform::releaseSong(musicHandle);
    musicHandle = platform::loadSong(path);
    platform::playSong(musicHandle);
}
