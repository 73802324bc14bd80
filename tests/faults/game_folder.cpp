#include "game_folder.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

namespace faults {

namespace fs = std::filesystem;

namespace {

std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
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
    std::vector<char> bytes = readBytes(file);
    switch (damage) {
    case Damage::Missing:
        fs::remove(file);
        return;
    case Damage::Truncated:
        bytes.resize(bytes.size() / 2);
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
