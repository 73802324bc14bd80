#include "assets/assets.h"

platform::SongHandle musicHandle = 0;
bool musicMuted = false;

void toggleMusicMute() {
    musicMuted = !musicMuted;
    // The output itself is silenced, so the tracks that start later stay silent too.
    platform::setMusicMuted(musicMuted);
    Settings now;
    now.musicMuted = musicMuted;
    saveSettings(now, MusicSetting);
}

void changeMusic(const char* path) {
    platform::stopSong(musicHandle);
    // The replaced song is released at once: only one module is ever held.
    platform::releaseSong(musicHandle);
    musicHandle = platform::loadSong(path);
    platform::playSong(musicHandle);
}
