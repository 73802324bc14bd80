// Music rendering speed at the game's 32000 Hz stereo, over each generated module played once
// from its beginning to its end: the game's player beside libopenmpt alone.
#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "assets/assets.h"
#include "platform/music_rendering.h"

namespace {

constexpr int ChunkFrames = 1024;

const char* trackPath(std::int64_t index) {
    return index == 0 ? menuTrack : levelTrack[index];
}

// Reports the song's length beside its file, so that the table can give the speed as times real
// time. (In the label: the CSV output takes no counter that not every benchmark has.)
void reportSongLength(benchmark::State& state, std::int64_t framesRendered) {
    const double seconds = static_cast<double>(framesRendered) /
                           static_cast<double>(state.iterations()) / MusicSampleRate;
    char label[160];
    std::snprintf(label, sizeof label, "%s song_seconds=%.3f", trackPath(state.range(0)), seconds);
    state.SetLabel(label);
}

void BM_renderSongFrames(benchmark::State& state) {
    const platform::SongHandle song = platform::loadSong(trackPath(state.range(0)));
    if (song == 0) {
        state.SkipWithError("the module did not load");
        return;
    }
    std::int16_t buffer[ChunkFrames * 2];
    std::int64_t framesRendered = 0;
    for (auto _ : state) {
        platform::playSong(song);
        int rendered = ChunkFrames;
        while (rendered == ChunkFrames) {
            rendered = platform::renderSongFrames(song, MusicSampleRate, buffer, ChunkFrames);
            framesRendered += rendered;
        }
        benchmark::DoNotOptimize(buffer);
    }
    platform::releaseSong(song);
    reportSongLength(state, framesRendered);
}
BENCHMARK(BM_renderSongFrames)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Loading a module as the game loads its tracks (start-up loads the menu's): part of start-up.
void BM_loadSong(benchmark::State& state) {
    for (auto _ : state) {
        const platform::SongHandle song = platform::loadSong(trackPath(state.range(0)));
        if (song == 0) {
            state.SkipWithError("the module did not load");
            break;
        }
        platform::releaseSong(song);
    }
    state.SetLabel(trackPath(state.range(0)));
}
BENCHMARK(BM_loadSong)->Arg(0)->Unit(benchmark::kMillisecond);

std::vector<unsigned char> readWholeFile(const char* path) {
    std::vector<unsigned char> data;
    if (std::FILE* file = std::fopen(path, "rb")) {
        unsigned char block[65536];
        std::size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
            data.insert(data.end(), block, block + got);
        }
        std::fclose(file);
    }
    return data;
}

void BM_openmptAlone(benchmark::State& state) {
    const std::vector<unsigned char> data = readWholeFile(trackPath(state.range(0)));
    openmpt_module* module = openmpt_module_create_from_memory2(
        data.data(), data.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) {
        state.SkipWithError("the module did not load");
        return;
    }
    std::int16_t buffer[ChunkFrames * 2];
    std::int64_t framesRendered = 0;
    for (auto _ : state) {
        openmpt_module_set_position_seconds(module, 0.0);
        std::size_t rendered = ChunkFrames;
        while (rendered == ChunkFrames) {
            rendered = openmpt_module_read_interleaved_stereo(module, MusicSampleRate, ChunkFrames,
                                                              buffer);
            framesRendered += static_cast<std::int64_t>(rendered);
        }
        benchmark::DoNotOptimize(buffer);
    }
    openmpt_module_destroy(module);
    reportSongLength(state, framesRendered);
}
BENCHMARK(BM_openmptAlone)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

} // namespace
