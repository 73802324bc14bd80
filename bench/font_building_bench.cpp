// Building each bitmap font: the face found through fontconfig, 96 glyphs rasterised by FreeType
// and compiled into display lists.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "shell/shell.h"

namespace {

void BM_buildSmallFont(benchmark::State& state) {
    for (auto _ : state) {
        buildSmallFont();
        glFinish();
    }
}
BENCHMARK(BM_buildSmallFont)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_buildLargeFont(benchmark::State& state) {
    for (auto _ : state) {
        buildLargeFont();
        glFinish();
    }
    buildSmallFont(); // the font of play, for the frames measured next
}
BENCHMARK(BM_buildLargeFont)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
