// The in-process benchmarks: texture loading, font building, frames on the software renderer and
// music rendering, each beside its floor. The game's window is opened once, offscreen, before any
// of them runs.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "offscreen_game.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (!bench::openOffscreenGame()) {
        return 1;
    }
    std::fprintf(stderr, "renderer: %s\n", bench::rendererName());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::closeOffscreenGame();
    return 0;
}
