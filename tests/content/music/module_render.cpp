#include "module_render.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

RenderedSong renderSong(const std::vector<std::uint8_t>& moduleBytes) {
    std::ostringstream log;
    openmpt::module song(moduleBytes, log);
    song.set_repeat_count(0);
    RenderedSong rendered;
    constexpr std::size_t Block = 4096;
    std::vector<float> block(2 * Block);
    for (;;) {
        const std::size_t count = song.read_interleaved_stereo(RenderRate, Block, block.data());
        if (count == 0) {
            break;
        }
        rendered.frames.insert(rendered.frames.end(), block.begin(),
                               block.begin() + static_cast<std::ptrdiff_t>(2 * count));
    }
    rendered.endedCleanly = song.read_interleaved_stereo(RenderRate, Block, block.data()) == 0;
    return rendered;
}

double peakLevel(const std::vector<float>& frames) {
    double peak = 0.0;
    for (float value : frames) {
        peak = std::max(peak, static_cast<double>(std::fabs(value)));
    }
    return peak;
}

double rmsLevel(const std::vector<float>& frames, std::size_t firstFrame, std::size_t frameCount) {
    const std::size_t begin = std::min(frames.size(), 2 * firstFrame);
    const std::size_t end = std::min(frames.size(), 2 * (firstFrame + frameCount));
    if (end <= begin) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(frames[i]) * frames[i];
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double crossingFrequency(const std::vector<float>& frames, std::size_t firstFrame,
                         std::size_t frameCount) {
    std::size_t firstCrossing = 0;
    std::size_t lastCrossing = 0;
    int crossings = 0;
    const std::size_t end = std::min(frames.size() / 2, firstFrame + frameCount);
    for (std::size_t i = firstFrame + 1; i < end; ++i) {
        if (frames[2 * (i - 1)] < 0.0f && frames[2 * i] >= 0.0f) {
            if (crossings == 0) {
                firstCrossing = i;
            }
            lastCrossing = i;
            ++crossings;
        }
    }
    if (crossings < 2) {
        return 0.0;
    }
    return (crossings - 1) * static_cast<double>(RenderRate) /
           static_cast<double>(lastCrossing - firstCrossing);
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}
