// What a picture file says about itself before it is decoded: its kind and dimensions, read
// from the PNG IHDR chunk or the JPEG start-of-frame segment.
#pragma once

#include <cstdint>
#include <cstdio>

struct PictureHeader {
    bool readable = false; // a PNG or JPEG whose dimensions could be read
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t fileSize = 0;
};

constexpr std::uint32_t LargestPictureSide = 8192;
constexpr std::uint64_t LargestPictureFile = 32ull * 1024 * 1024;

PictureHeader readPictureHeader(const char* path);
// From the file's beginning, wherever it stands; leaves it where the reading stopped.
PictureHeader readPictureHeader(std::FILE* file);

// Whether the picture may be handed to the decoder at all: a readable header, no side over
// LargestPictureSide and no file over LargestPictureFile. A picture refused here is treated as
// one that could not be decoded, so that a damaged or hostile file cannot exhaust the memory.
bool pictureWithinLimits(const char* path);
bool pictureWithinLimits(std::FILE* file); // leaves the file at its beginning
bool withinLimits(const PictureHeader& header);
