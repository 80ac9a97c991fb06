#include "maze.h"

#include "maze_algos.h"
#include "maze_grid.h"
#include "maze_rng.h"
#include "maze_seed.h"

#include <algorithm>
#include <cstring>

using Generator = void (*)(const Maze &, Rng);

static constexpr std::array<Generator, ALGO_COUNT> GENERATORS = {
    generate_backtracker, generate_prim, generate_kruskal, generate_aldous_broder, generate_wilson};

static int clamp_size(int n) {
    return std::clamp(n, 0, MAZE_MAX);
}

static void close_all_walls(Maze &m) {
    for (int r = 0; r < m.rows; r++) std::memset(m.cells + r * MAZE_STRIDE, WALL_ALL, m.cols);
}

void maze_init(Maze *m, int first, int second) {
    if (!m) return;
    m->rows = clamp_size(first);
    m->cols = clamp_size(second);
    std::memset(m->cells, WALL_ALL, sizeof m->cells);
}

void maze_generate_seeded(Maze *m, int algorithm, uint32_t seed) {
    if (!m) return;
    // The caller may have written the sizes itself; never trust them past the array.
    m->rows = clamp_size(m->rows);
    m->cols = clamp_size(m->cols);
    close_all_walls(*m);
    if (m->rows == 0 || m->cols == 0) return;
    if (algorithm < 0 || algorithm >= ALGO_COUNT) algorithm = ALGO_RECURSIVE;
    grid_start(*m);
    GENERATORS[algorithm](*m, rng_from_seed(seed % SEED_LIMIT));
    grid_finish(*m);
}

uint32_t maze_generate_full(Maze *m, int algorithm) {
    const uint32_t seed = seed_from_rand();
    maze_generate_seeded(m, algorithm, seed);
    return seed;
}
