#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/picture_header.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

void appendBigEndian(Bytes& bytes, std::uint32_t value, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<unsigned char>(value >> shift));
    }
}

Bytes pngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    appendBigEndian(bytes, width, 4);
    appendBigEndian(bytes, height, 4);
    const Bytes rest = {8, 6, 0, 0, 0, 0x12, 0x34, 0x56, 0x78}; // depth, colour type, ..., CRC
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

void appendSegment(Bytes& bytes, unsigned char marker, std::size_t payload) {
    bytes.push_back(0xFF);
    bytes.push_back(marker);
    appendBigEndian(bytes, static_cast<std::uint32_t>(payload + 2), 2);
    bytes.insert(bytes.end(), payload, 0xFF); // marker-like bytes that must be skipped, not read
}

void appendFrame(Bytes& bytes, unsigned char marker, std::uint32_t width, std::uint32_t height) {
    bytes.insert(bytes.end(), {0xFF, marker, 0, 17, 8});
    appendBigEndian(bytes, height, 2);
    appendBigEndian(bytes, width, 2);
    bytes.insert(bytes.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
}

// SOI, an APP0, a full-size APP1 and a quantisation table before the frame header.
Bytes jpegHeader(unsigned char frameMarker, std::uint32_t width, std::uint32_t height) {
    Bytes bytes = {0xFF, 0xD8};
    appendSegment(bytes, 0xE0, 14);
    appendSegment(bytes, 0xE1, 65533);
    bytes.insert(bytes.end(), {0xFF, 0xFF}); // fill bytes
    appendSegment(bytes, 0xDB, 65);
    appendFrame(bytes, frameMarker, width, height);
    return bytes;
}

class PictureHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = fs::temp_directory_path() /
               ("tolvar-picture-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove(path); }

    const char* write(const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        pathText = path.string();
        return pathText.c_str();
    }

    fs::path path;
    std::string pathText; // the game's paths are narrow on every system
};

TEST_F(PictureHeaderTest, PngDimensionsComeFromTheHeaderAndHugeOnesAreRefused) {
    PictureHeader header = readPictureHeader(write(pngHeader(640, 480)));
    EXPECT_TRUE(header.readable);
    EXPECT_EQ(header.width, 640u);
    EXPECT_EQ(header.height, 480u);
    EXPECT_TRUE(pictureWithinLimits(write(pngHeader(8192, 8192))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(8193, 16))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(16, 8193))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(30000, 30000))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(100000, 100000))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(0, 16))));
    EXPECT_FALSE(pictureWithinLimits(write(pngHeader(0x80000000u, 1))));
}

TEST_F(PictureHeaderTest, JpegFrameHeadersAreFoundPastOtherSegments) {
    for (const unsigned char marker : {0xC0, 0xC1, 0xC2, 0xC9, 0xCF}) {
        const PictureHeader header = readPictureHeader(write(jpegHeader(marker, 1024, 768)));
        EXPECT_TRUE(header.readable) << "marker " << int(marker);
        EXPECT_EQ(header.width, 1024u) << "marker " << int(marker);
        EXPECT_EQ(header.height, 768u) << "marker " << int(marker);
    }
    EXPECT_TRUE(pictureWithinLimits(write(jpegHeader(0xC0, 8192, 8192))));
    EXPECT_FALSE(pictureWithinLimits(write(jpegHeader(0xC2, 65535, 65535))));
    EXPECT_FALSE(pictureWithinLimits(write(jpegHeader(0xC0, 9000, 10))));
    EXPECT_FALSE(pictureWithinLimits(write(jpegHeader(0xC0, 640, 0)))); // height given later
}

TEST_F(PictureHeaderTest, TruncatedOrForeignHeadersAreRefused) {
    const Bytes png = pngHeader(64, 64);
    const Bytes jpeg = jpegHeader(0xC0, 64, 64);
    std::vector<Bytes> damaged = {
        {},
        {0xFF},
        Bytes(png.begin(), png.begin() + 20),     // cut inside IHDR
        Bytes(jpeg.begin(), jpeg.begin() + 1000), // cut inside the APP1 segment
        Bytes(jpeg.begin(), jpeg.end() - 14),     // cut inside the frame header
        {'G', 'I', 'F', '8', '9', 'a', 64, 0, 64, 0},
    };
    Bytes scanFirst = {0xFF, 0xD8};
    appendSegment(scanFirst, 0xDA, 10); // the scan before any frame header
    appendFrame(scanFirst, 0xC0, 64, 64);
    damaged.push_back(scanFirst);
    Bytes notIhdr = png;
    notIhdr[12] = 'X';
    damaged.push_back(notIhdr);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_FALSE(readPictureHeader(write(damaged[i])).readable) << "case " << i;
        EXPECT_FALSE(pictureWithinLimits(path.string().c_str())) << "case " << i;
    }
    EXPECT_FALSE(pictureWithinLimits("no/such/picture.png"));
}

TEST_F(PictureHeaderTest, AFileOverTheSizeLimitIsRefusedWhateverItsHeaderSays) {
    write(pngHeader(64, 64));
    fs::resize_file(path, LargestPictureFile); // sparse: costs no disk
    EXPECT_TRUE(pictureWithinLimits(path.string().c_str()));
    fs::resize_file(path, LargestPictureFile + 1);
    EXPECT_FALSE(pictureWithinLimits(path.string().c_str()));
    EXPECT_EQ(readPictureHeader(path.string().c_str()).fileSize, LargestPictureFile + 1);
}

} // namespace
