// RGBA pictures written and read as files: JPEG through libjpeg(-turbo), PNG through libpng, the
// libraries the game's picture loader reads them with on every system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace pictures {

// RGBA, 4 bytes a pixel, top row first, not premultiplied: a painted picture or a decoded one.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    // Of a decoded picture, the channels its file stores: 1 grey, 2 grey and alpha, 3 colour,
    // 4 colour and alpha.
    int fileChannels = 0;
    std::vector<std::uint8_t> pixels;

    RgbaPicture() = default;
    RgbaPicture(int width, int height); // transparent black
    std::uint8_t* at(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// A baseline JPEG with full-resolution colour (no chroma subsampling: small lettering stays
// crisp), the alpha channel dropped; false when the file could not be written.
bool writeJpeg(const RgbaPicture& picture, const std::filesystem::path& path, int quality);
bool writePng(const RgbaPicture& picture, const std::filesystem::path& path); // RGBA

// nullopt when the file is missing or is not a readable picture of that kind.
std::optional<RgbaPicture> readJpeg(const std::filesystem::path& path);
std::optional<RgbaPicture> readPng(const std::filesystem::path& path);

} // namespace pictures
