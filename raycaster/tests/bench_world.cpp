// Cost of the world queries on the renderer's hot path.
#include "doors.h"
#include "flashlight.h"
#include "light.h"
#include "player.h"
#include "world.h"

#include <benchmark/benchmark.h>
#include <utility>
#include <vector>

static void fill_cache(int n) {
    world_reset();
    for (int i = 0; i < n; i++) world_cell((i % 32) * CHUNK_SIZE, (i / 32) * CHUNK_SIZE);
}

// Hits spread over every cached chunk in turn, each in another chunk than the
// one before. The cells are worked out up front so only world_cell is timed.
static void BM_world_cell_hit(benchmark::State &state) {
    int n = static_cast<int>(state.range(0));
    fill_cache(n);
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < 4096; i++) {
        int k = (i * 37) % n;
        cells.emplace_back((k % 32) * CHUNK_SIZE + (i * 7) % CHUNK_SIZE,
                           (k / 32) * CHUNK_SIZE + (i * 3) % CHUNK_SIZE);
    }
    size_t i = 0;
    for (auto _ : state) {
        auto [x, y] = cells[i++ & 4095];
        benchmark::DoNotOptimize(world_cell(x, y));
    }
    state.counters["chunks"] = chunk_count;
}
BENCHMARK(BM_world_cell_hit)->Arg(25)->Arg(512);

// The floor under the above: the same cells read straight from their slots,
// with no lookup at all (memory latency of the chunk records alone).
static void BM_cell_read_floor(benchmark::State &state) {
    int n = static_cast<int>(state.range(0));
    fill_cache(n);
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < 4096; i++) {
        int k = (i * 37) % n;
        cells.emplace_back(chunk_slot(k % 32, k / 32),
                           ((i * 3) % CHUNK_SIZE) * CHUNK_SIZE + (i * 7) % CHUNK_SIZE);
    }
    size_t i = 0;
    for (auto _ : state) {
        auto [k, cell] = cells[i++ & 4095];
        benchmark::DoNotOptimize(chunks[k].cells[cell]);
    }
}
BENCHMARK(BM_cell_read_floor)->Arg(25)->Arg(512);

// A renderer-like sweep: a 99x99 window around a player, row by row.
static void BM_world_cell_sweep(benchmark::State &state) {
    fill_cache(static_cast<int>(state.range(0)));
    for (auto _ : state)
        for (int y = 100; y < 199; y++)
            for (int x = 200; x < 299; x++) benchmark::DoNotOptimize(world_cell(x, y));
    state.SetItemsProcessed(state.iterations() * 99 * 99);
}
BENCHMARK(BM_world_cell_sweep)->Arg(25)->Arg(512);

static void BM_world_cell_miss_full_cache(benchmark::State &state) {
    fill_cache(MAX_CHUNKS);
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(world_cell(-100000 - i++, -100000));
}
BENCHMARK(BM_world_cell_miss_full_cache);

static void BM_is_secret_face(benchmark::State &state) {
    fill_cache(MAX_CHUNKS);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(is_secret_face(i % 800, (i / 800) % 400, i & 3));
        i++;
    }
}
BENCHMARK(BM_is_secret_face);

static void BM_cell_light_level(benchmark::State &state) {
    player_reset();
    px = 300.5;
    py = 200.5;
    flash_spring = state.range(0) ? 1.0 : 0.0;
    for (auto _ : state)
        for (int y = 150; y < 250; y++)
            for (int x = 250; x < 350; x++) benchmark::DoNotOptimize(cell_light_level(x, y));
    state.SetItemsProcessed(state.iterations() * 100 * 100);
}
BENCHMARK(BM_cell_light_level)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
