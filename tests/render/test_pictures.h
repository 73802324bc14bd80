// Pictures the rendering tests paint and read themselves: solid rectangles on a canvas, written
// as JPEG (libjpeg) and PNG (libpng), the libraries the game's picture loader reads them with on
// every system, and read back for comparison with what was drawn.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace render {

// RGBA, 4 bytes a pixel, top row first, not premultiplied: a painted picture or a decoded one.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    Picture() = default;
    Picture(int width, int height);
    std::uint8_t* at(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// A baseline JPEG with full-resolution colour (the alpha channel dropped); false when the file
// could not be written.
bool writeJpeg(const Picture& picture, const std::filesystem::path& path, int quality);
bool writePng(const Picture& picture, const std::filesystem::path& path); // RGBA

// nullopt when the file is missing or is not a readable picture of that kind.
std::optional<Picture> readJpeg(const std::filesystem::path& path);
std::optional<Picture> readPng(const std::filesystem::path& path);

} // namespace render
