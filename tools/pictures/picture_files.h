// Reading and writing the picture files: JPEG through libjpeg(-turbo), PNG written through cairo
// and read through libpng. The readers serve the contact sheet and the content tests.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace pictures {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    int fileChannels = 0;             // colour channels stored in the file (3 = RGB, 4 = RGBA)
    std::vector<std::uint8_t> pixels; // RGBA, 4 bytes a pixel, top row first, not premultiplied

    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// Writes an RGB24 surface as a baseline JPEG with full-resolution colour (no chroma
// subsampling: small lettering stays crisp). Returns false when the file could not be written.
bool writeJpeg(cairo_surface_t* surface, const std::filesystem::path& path, int quality);

// Writes an ARGB32 surface as an RGBA PNG. Returns false when the file could not be written.
bool writePng(cairo_surface_t* surface, const std::filesystem::path& path);

// Decoders; nullopt when the file is missing or is not a readable picture of that kind.
std::optional<DecodedPicture> readJpeg(const std::filesystem::path& path);
std::optional<DecodedPicture> readPng(const std::filesystem::path& path);

} // namespace pictures
