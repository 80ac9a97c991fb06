// Generation time per algorithm at the window's largest size and the
// library's largest; the solver's time at the same sizes (the window runs it
// every frame while the solution is shown).
#include "maze.h"
#include "maze_route.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

static void BM_generate(benchmark::State &state) {
    const int algo = static_cast<int>(state.range(0));
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    std::srand(1);
    for (auto _ : state) {
        maze_generate_full(m.get(), algo);
        benchmark::DoNotOptimize(m->cells[0]);
    }
    state.SetLabel(ALGO_NAMES[algo]);
}

static void sizes(benchmark::internal::Benchmark *b) {
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        b->Args({algo, 100, 160});
        b->Args({algo, 300, 300});
    }
}
BENCHMARK(BM_generate)->Apply(sizes)->Unit(benchmark::kMillisecond);

static void BM_solve(benchmark::State &state) {
    const int algo = static_cast<int>(state.range(0));
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    std::srand(1);
    maze_generate_full(m.get(), algo);
    static CellPos path[MAZE_CELLS];
    for (auto _ : state) benchmark::DoNotOptimize(maze_solve(*m, path, MAZE_CELLS));
    state.SetLabel(ALGO_NAMES[algo]);
}
BENCHMARK(BM_solve)->Apply(sizes)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
