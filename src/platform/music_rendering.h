// Rendering a loaded song straight into memory, without the audio device: for measuring the
// player's cost and for checking what it produces. Not part of the game's platform seam.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// Renders up to frameCount stereo frames of the song from where it stands, at sampleRate, as
// interleaved signed 16-bit samples (left, right) into buffer, which holds 2 * frameCount values.
// Returns the frames rendered: fewer than asked once the song has reached its end (it then counts
// as finished), 0 for handle 0, a stale handle or a bad argument.
int renderSongFrames(SongHandle song, int sampleRate, std::int16_t* buffer, int frameCount);

// Holds the audio device still, or lets it go on; harmless without one.
void pauseSoundOutput(bool paused);
// Renders the next frameCount frames of the output in the audio device's place, as its callback
// makes them (every playing song mixed, silence while muted), into buffer (2 * frameCount
// values). Pause the device first, or it takes its own share of the songs meanwhile. Returns
// frameCount, or 0 without a sound output or with a bad argument.
int renderOutputFrames(std::int16_t* buffer, int frameCount);

} // namespace platform
