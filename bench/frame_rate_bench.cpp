// Frames on Mesa's software renderer: a level in play beside the floor of one full-screen
// textured quad per frame, and one play frame's rules alone. Every frame is finished (glFinish)
// before the next, so that what the renderer defers is counted where it was asked for.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "game/game.h"
#include "offscreen_game.h"

namespace {

void BM_texturedQuadFrame(benchmark::State& state) {
    for (auto _ : state) {
        bench::drawTexturedQuadFrame();
        glFinish();
    }
}
// Each figure is the median of five runs, and the runs of the floor and of the levels are
// interleaved at random (run_benchmarks.sh asks for it), so that a busy moment of the machine
// falls on both alike.
constexpr int FrameRepetitions = 5;

BENCHMARK(BM_texturedQuadFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(FrameRepetitions);

// The whole frame of a play state: the scene, its buffer swap, the buttons and the rules.
void BM_playLevelFrame(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    bench::prepareLevelInPlay(level);
    for (auto _ : state) {
        if (bench::levelRunOut(level)) {
            bench::prepareLevelInPlay(level);
        }
        bench::steerToLighterSide();
        playLevelFrame(level);
        glFinish();
    }
}
BENCHMARK(BM_playLevelFrame)
    ->Arg(1)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(FrameRepetitions);

// The rules half alone: fall, stacks, steering, landing, weighing, balance, advance.
void BM_applyPlayRules(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    bench::prepareLevelInPlay(level);
    for (auto _ : state) {
        if (bench::levelRunOut(level)) {
            bench::prepareLevelInPlay(level);
        }
        bench::steerToLighterSide();
        applyPlayRules(level);
    }
}
BENCHMARK(BM_applyPlayRules)->Arg(1)->Arg(5)->Unit(benchmark::kNanosecond);

} // namespace
