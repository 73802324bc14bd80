// Building the bitmap fonts as start-up and every change of the view's scale do: the face found
// through fontconfig, its 96 glyphs rasterised by FreeType at both sizes and each size packed into
// one texture. Switching fonts afterwards builds nothing, so each pass deletes them first.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "shell/shell.h"

namespace {

void BM_buildFonts(benchmark::State& state) {
    for (auto _ : state) {
        deleteFont();
        buildSmallFont(); // both sizes, the small one current: the font of play, measured next
        glFinish();
    }
}
BENCHMARK(BM_buildFonts)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
