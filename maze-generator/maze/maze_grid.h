// The generators' working grid. Cells sit in rows of cols + 1 bytes behind a
// row of sentinels, so the spare byte at the end of each row borders both the
// last cell of that row and the first of the next: no neighbour test needs a
// bounds check. The generators carve walls here; grid_finish copies them into
// the maze.
#pragma once

#include "maze.h"
#include "maze_rng.h"

#include <array>

constexpr int GRID_CELLS = (MAZE_MAX + 2) * (MAZE_MAX + 1);

constexpr uint8_t MARK_BORDER = 0x80; // a sentinel; the generators use the low bits

// Directions in the order of the wall bits: up, right, down, left, so the
// wall towards direction d is bit d. The opposite of direction d is d ^ 2.
static_assert(WALL_TOP == 1 << 0 && WALL_RIGHT == 1 << 1 && WALL_BOTTOM == 1 << 2 &&
              WALL_LEFT == 1 << 3);

extern uint8_t grid_walls[GRID_CELLS];
extern uint8_t grid_mark[GRID_CELLS];

// Index offsets to the neighbour in each direction. Generators keep a copy in
// a local so the byte stores into the grid cannot force reloads.
struct Steps {
    int to[4];
};

inline Steps grid_steps(const Maze &m) {
    const int stride = m.cols + 1;
    return {{-stride, 1, stride, -1}};
}

inline int grid_index(const Maze &m, int row, int col) {
    return (row + 1) * (m.cols + 1) + col;
}

// Closes every wall and marks the sentinels MARK_BORDER and the cells 0.
void grid_start(const Maze &m);
// Copies the walls into the maze's cells.
void grid_finish(Maze &m);

// Removes the wall between cell q and its neighbour in direction dir, on both
// sides, so neighbours always agree.
inline void open_wall(const Steps &s, int q, int dir) {
    grid_walls[q] &= static_cast<uint8_t>(~(1u << dir));
    grid_walls[q + s.to[dir]] &= static_cast<uint8_t>(~(1u << (dir ^ 2)));
}

// The neighbours of q whose mark equals want, one bit per direction.
inline unsigned neighbours_marked(const Steps &s, int q, uint8_t want) {
    return unsigned(grid_mark[q + s.to[0]] == want) |
           unsigned(grid_mark[q + s.to[1]] == want) << 1 |
           unsigned(grid_mark[q + s.to[2]] == want) << 2 |
           unsigned(grid_mark[q + s.to[3]] == want) << 3;
}

// The directions set in each four-bit mask: how many, and which.
struct DirSet {
    uint8_t count;
    uint8_t dir[4];
};
constexpr auto DIR_SETS = [] {
    std::array<DirSet, 16> table{};
    for (unsigned mask = 0; mask < 16; mask++)
        for (uint8_t d = 0; d < 4; d++)
            if (mask >> d & 1) table[mask].dir[table[mask].count++] = d;
    return table;
}();

// A uniformly chosen direction among the set bits of a non-zero mask. Tables,
// not bit tricks: a loop's random trip count defeats branch prediction, and
// std::popcount is a library call on baseline x86-64.
inline int random_dir(Rng &r, unsigned mask) {
    const DirSet &set = DIR_SETS[mask];
    return set.dir[rng_below(r, set.count)];
}

// A random direction that does not lead onto a sentinel (a grid of two
// cells or more has such a neighbour everywhere).
inline int random_step(Rng &r, const Steps &s, int q) {
    for (;;) {
        int d = static_cast<int>(rng_next(r) >> 30);
        if (!(grid_mark[q + s.to[d]] & MARK_BORDER)) return d;
    }
}

inline int random_cell(Rng &r, const Maze &m) {
    int row = static_cast<int>(rng_below(r, m.rows)); // drawn first on every compiler
    int col = static_cast<int>(rng_below(r, m.cols));
    return grid_index(m, row, col);
}
