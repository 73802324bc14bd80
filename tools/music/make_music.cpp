// make_music <DataDir>: composes the game's six tracks into <DataDir>/Musat/.
#include "it_writer.h"
#include "tracks/tracks.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_music <DataDir>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Musat";
        std::filesystem::create_directories(folder);
        for (const TrackPlan& plan : allTracks()) {
            const std::filesystem::path path = folder / plan.fileName;
            if (!writeFile(path, writeItModule(composeTrack(plan)))) {
                std::fprintf(stderr, "make_music: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_music: %s\n", error.what());
        return 1;
    }
    return 0;
}
