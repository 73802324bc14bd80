#include "assets/picture_header.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t bigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// A file the caller opened and closes, read from its current position.
struct OpenFile {
    std::FILE* file;
    bool read(unsigned char* bytes, std::size_t count) {
        return std::fread(bytes, 1, count, file) == count;
    }
};

// After the signature: the first chunk must be IHDR, of 13 bytes, width then height.
bool readPngSize(OpenFile& in, PictureHeader& header) {
    unsigned char chunk[16];
    if (!in.read(chunk, sizeof chunk) || bigEndian(chunk, 4) != 13 ||
        std::memcmp(chunk + 4, "IHDR", 4) != 0) {
        return false;
    }
    header.width = bigEndian(chunk + 8, 4);
    header.height = bigEndian(chunk + 12, 4);
    return true;
}

// The start-of-frame markers of every coding process: C0-CF but for DHT (C4), JPG (C8) and DAC
// (CC).
bool isStartOfFrame(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isStandalone(int marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// After SOI: segment by segment up to the first start of frame, skipping each segment by its
// length; the scan or the end of the image before any frame header means there is none to read.
bool readJpegSize(OpenFile& in, PictureHeader& header) {
    for (;;) {
        // Stray bytes between segments are passed over, as the decoder passes over them.
        int byte = std::fgetc(in.file);
        while (byte != 0xFF && byte != EOF) {
            byte = std::fgetc(in.file);
        }
        while (byte == 0xFF) { // fill bytes may come before a marker
            byte = std::fgetc(in.file);
        }
        if (byte == EOF) {
            return false;
        }
        const int marker = byte;
        if (isStandalone(marker)) {
            continue;
        }
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
            return false;
        }
        unsigned char length[2];
        if (!in.read(length, sizeof length) || bigEndian(length, 2) < 2) {
            return false;
        }
        const std::uint32_t segmentLength = bigEndian(length, 2);
        if (isStartOfFrame(marker)) {
            unsigned char frame[5]; // precision, height, width
            if (segmentLength < 2 + sizeof frame || !in.read(frame, sizeof frame)) {
                return false;
            }
            header.height = bigEndian(frame + 1, 2);
            header.width = bigEndian(frame + 3, 2);
            return true;
        }
        if (std::fseek(in.file, static_cast<long>(segmentLength) - 2, SEEK_CUR) != 0) {
            return false;
        }
    }
}

} // namespace

PictureHeader readPictureHeader(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return PictureHeader{};
    }
    const PictureHeader header = readPictureHeader(file);
    std::fclose(file);
    return header;
}

PictureHeader readPictureHeader(std::FILE* file) {
    PictureHeader header;
    OpenFile in{file};
    if (std::fseek(in.file, 0, SEEK_END) != 0) {
        return header;
    }
    const long size = std::ftell(in.file);
    if (size < 0 || std::fseek(in.file, 0, SEEK_SET) != 0) {
        return header;
    }
    header.fileSize = static_cast<std::uint64_t>(size);
    unsigned char start[8];
    if (!in.read(start, 2)) {
        return header;
    }
    if (start[0] == 0xFF && start[1] == 0xD8) {
        header.readable = readJpegSize(in, header);
    } else if (in.read(start + 2, 6) && std::memcmp(start, PngSignature, 8) == 0) {
        header.readable = readPngSize(in, header);
    }
    return header;
}

bool pictureWithinLimits(const char* path) {
    return withinLimits(readPictureHeader(path));
}

bool pictureWithinLimits(std::FILE* file) {
    const bool within = withinLimits(readPictureHeader(file));
    std::rewind(file);
    return within;
}

bool withinLimits(const PictureHeader& header) {
    return header.readable && header.fileSize <= LargestPictureFile && header.width > 0 &&
           header.height > 0 && header.width <= LargestPictureSide &&
           header.height <= LargestPictureSide;
}
