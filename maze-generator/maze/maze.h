// The maze library: perfect mazes (every cell reachable, no loops) on a grid
// of up to 300 by 300 cells. Each maze comes from a seed (maze_seed.h); the
// same seed, algorithm and size give the same maze everywhere.
#pragma once

#include <array>
#include <cstdint>

constexpr int MAZE_MAX = 300;    // most rows, and most columns
constexpr int MAZE_STRIDE = 300; // bytes from one row of cells to the next

// Wall flags of a cell byte; the higher bits stay clear.
constexpr uint8_t WALL_TOP = 1;
constexpr uint8_t WALL_RIGHT = 2;
constexpr uint8_t WALL_BOTTOM = 4;
constexpr uint8_t WALL_LEFT = 8;
constexpr uint8_t WALL_ALL = WALL_TOP | WALL_RIGHT | WALL_BOTTOM | WALL_LEFT;

struct Maze {
    int32_t rows;
    int32_t cols;
    uint8_t cells[MAZE_MAX * MAZE_STRIDE]; // cell (row, col) at row * MAZE_STRIDE + col
};

enum Algorithm {
    ALGO_RECURSIVE,     // recursive backtracker, run on an explicit stack
    ALGO_PRIM,          // randomised Prim: grows from a random frontier cell
    ALGO_KRUSKAL,       // random edge order, union-find with path compression
    ALGO_ALDOUS_BRODER, // random walk; uniform over all perfect mazes
    ALGO_WILSON,        // loop-erased random walks; uniform, faster than the walk above
    ALGO_COUNT
};

constexpr std::array<const char *, ALGO_COUNT> ALGO_NAMES = {"RECURSIVE", "PRIM", "KRUSKAL",
                                                             "ALDOUS-BRODER", "WILSON"};

// Sets rows = first and cols = second, each clamped to 0..MAZE_MAX, and closes
// every wall.
void maze_init(Maze *m, int first, int second);

// Closes every wall of the rows x cols cells and carves a perfect maze into
// them from the seed (taken modulo SEED_LIMIT). An unknown algorithm index
// means ALGO_RECURSIVE.
void maze_generate_seeded(Maze *m, int algorithm, uint32_t seed);

// The same with a seed drawn from the C library's rand(), so srand() makes a
// run repeatable; returns the seed.
uint32_t maze_generate_full(Maze *m, int algorithm);

inline uint8_t maze_cell(const Maze &m, int row, int col) {
    return m.cells[row * MAZE_STRIDE + col];
}
