#include "game_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

#include "support/file_bytes.h"

namespace faults {

namespace fs = std::filesystem;

namespace {

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint32_t crc32(const char* bytes, std::size_t count) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void putBigEndian(std::string& bytes, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * (count - 1 - i)));
    }
}

// A PNG's IHDR (with its checksum made right again, so that the decoder believes it) or a
// JPEG's first frame header made to claim a huge size.
void claimHugeSize(std::string& bytes) {
    const bool png = bytes.size() > 33 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
    if (png) {
        putBigEndian(bytes, 16, 100000, 4);
        putBigEndian(bytes, 20, 100000, 4);
        putBigEndian(bytes, 29, crc32(bytes.data() + 12, 17), 4);
        return;
    }
    for (std::size_t at = 2; at + 9 < bytes.size(); ++at) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (static_cast<unsigned char>(bytes[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            putBigEndian(bytes, at + 5, 60000, 2);
            putBigEndian(bytes, at + 7, 60000, 2);
            return;
        }
    }
    throw std::runtime_error("no picture header to make oversized");
}

} // namespace

const char* damageName(Damage damage) {
    switch (damage) {
    case Damage::Missing:
        return "Missing";
    case Damage::Truncated:
        return "Truncated";
    case Damage::Garbage:
        return "Garbage";
    case Damage::Oversized:
        return "Oversized";
    case Damage::Fifo:
        return "Fifo";
    }
    return "Unknown";
}

GameFolder::GameFolder(const std::string& progress) {
    folder = fs::temp_directory_path() / ("tolvar-faults-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(TOLVAR_DATA_DIR, folder / "Data", fs::copy_options::recursive);
    std::ofstream(folder / "Data.dat") << progress;
    previous = fs::current_path();
    fs::current_path(folder);
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(folder, ignored);
}

void GameFolder::damage(const std::string& relativePath, Damage damage) const {
    const fs::path file = folder / relativePath;
    if (!fs::is_regular_file(file)) {
        throw std::runtime_error("no file to damage: " + file.string());
    }
    std::string bytes = support::fileBytes(file);
    switch (damage) {
    case Damage::Missing:
        fs::remove(file);
        return;
    case Damage::Fifo:
        fs::remove(file);
        if (::mkfifo(file.c_str(), 0644) != 0) {
            throw std::runtime_error("cannot make a FIFO: " + file.string());
        }
        return;
    case Damage::Truncated:
        bytes.resize(bytes.size() / 2);
        break;
    case Damage::Oversized:
        claimHugeSize(bytes);
        break;
    case Damage::Garbage: {
        // Fixed noise, so a failure repeats.
        std::mt19937 noise(0x70417a);
        for (char& byte : bytes) {
            byte = static_cast<char>(noise() & 0xFFu);
        }
        break;
    }
    }
    writeBytes(file, bytes);
}

} // namespace faults
