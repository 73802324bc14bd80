// Plays a module through libopenmpt the way the game hears it (32000 Hz stereo) and measures it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int RenderRate = 32000;

struct RenderedSong {
    std::vector<float> frames; // interleaved stereo, the whole song once through
    bool endedCleanly = false; // after the song a further read gave no frames
};

// Loads and renders with repeat count 0. Throws openmpt::exception when the module does not load.
RenderedSong renderSong(const std::vector<std::uint8_t>& moduleBytes);

double peakLevel(const std::vector<float>& frames);
// The root mean square of frames [firstFrame, firstFrame + frameCount) of interleaved stereo.
double rmsLevel(const std::vector<float>& frames, std::size_t firstFrame, std::size_t frameCount);

// The pitch of a steady tone in frames [firstFrame, firstFrame + frameCount), from the rising
// zero crossings of the left channel.
double crossingFrequency(const std::vector<float>& frames, std::size_t firstFrame,
                         std::size_t frameCount);

std::vector<std::uint8_t> readBytes(const std::string& path);
