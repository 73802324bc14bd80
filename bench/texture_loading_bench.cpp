// loadTextures beside its floor: the same 25 files decoded with libjpeg-turbo and libpng alone.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "assets/assets.h"
#include "picture_decoding.h"

namespace {

// Every texture name that loadTextures fills, so that each run can give them back.
void deleteGameTextures() {
    unsigned int* singles[] = {&logoTexture,    &menuTexture,       &playMenuTexture, &boardTexture,
                               &ballTexture,    &boxTexture,        &gameOverTexture, &helpTexture,
                               &creditsTexture, &levelSelectTexture};
    for (unsigned int* slot : singles) {
        glDeleteTextures(1, slot);
    }
    glDeleteTextures(5, &levelBackground[1]);
    glDeleteTextures(10, &weightTextures[1]);
}

void BM_loadTextures(benchmark::State& state) {
    for (auto _ : state) {
        loadTextures();
        // Uploads finish before the time is taken, as they would before the first frame.
        glFinish();
        state.PauseTiming();
        deleteGameTextures();
        glFinish();
        state.ResumeTiming();
    }
    // The textures stay loaded for whatever is measured next.
    loadTextures();
}
BENCHMARK(BM_loadTextures)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5);

// What the game must decode before its first frame: the logo (the first of the pictures).
void BM_decodeLogoAlone(benchmark::State& state) {
    for (auto _ : state) {
        if (!bench::decodePicture(bench::picturePaths[0]).decoded) {
            state.SkipWithError("the logo did not decode");
            break;
        }
    }
}
BENCHMARK(BM_decodeLogoAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5);

void BM_decodePicturesAlone(benchmark::State& state) {
    for (auto _ : state) {
        if (!bench::decodeAllPictures()) {
            state.SkipWithError("a picture did not decode");
            break;
        }
    }
}
BENCHMARK(BM_decodePicturesAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5);

// A second floor, for finding where loadTextures' time goes: the same decoding with each
// picture uploaded straight from libjpeg-turbo's and libpng's output.
void BM_decodeAndUploadAlone(benchmark::State& state) {
    unsigned int textures[bench::PictureCount] = {};
    for (auto _ : state) {
        if (!bench::decodeAllPictures(bench::Upload::AsTexture, textures)) {
            state.SkipWithError("a picture did not decode");
            break;
        }
        glFinish();
        state.PauseTiming();
        glDeleteTextures(bench::PictureCount, textures);
        glFinish();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_decodeAndUploadAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5);

} // namespace
