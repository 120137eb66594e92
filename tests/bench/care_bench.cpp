// The cost of one care tick at its heaviest: a full shower of 1000 particles, about a
// hundredth of them dying and respawning each tick, the chip walking and the pointer over a
// button.
#include <allegro5/allegro.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "care/care_tick.h"
#include "game/game_loop.h"
#include "progress/progress.h"

namespace {

GameLoopState state;  // large; kept out of the stack

int32_t activeParticles()
{
    int32_t n = 0;
    for (const Particle& p : state.care.particles) n += p.active ? 1 : 0;
    return n;
}

void careTickFullShower(benchmark::State& bench)
{
    initGameLoopState(state, 1920, 1080, 12345);
    state.screen = Screen::Care;
    state.input.mouseX = 1920 - 200;
    state.input.mouseY = 200;
    progress = defaultProgress();
    progress.phase = 4;
    progress.phaseTick = 100;
    progress.fire = 120;
    progress.heat = 119;
    state.care.particleCount = 1000;
    // The pool fills at 20 a tick; by 200 ticks the oldest particles have begun to respawn.
    for (int i = 0; i < 200; ++i) careTick(state);
    const Progress steady = progress;

    for (auto _ : bench) {
        // The same meters and place in the cycle every tick: no death, success or phase change.
        progress = steady;
        careTick(state);
        benchmark::DoNotOptimize(state.care.particles);
        benchmark::ClobberMemory();
    }
    bench.counters["active"] = activeParticles();
}

// The save made at every screen switch and phase change, synced to disk, into a folder on the
// same file system as the build; it runs between two ticks, whose budget is 16.7 ms.
void progressSave(benchmark::State& bench)
{
    if (!al_is_system_installed()) al_init();
    const std::filesystem::path folder = std::filesystem::current_path() / "bench-settings";
    std::filesystem::create_directories(folder);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    progress = defaultProgress();
    for (auto _ : bench) {
        progress.phaseTick += 1;
        saveProgress();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(careTickFullShower)->Unit(benchmark::kMicrosecond);
BENCHMARK(progressSave)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
