// Randomised Prim: the maze grows from one cell; each step takes a random
// cell of its frontier and joins it to a random neighbour already inside.
#include "maze_algos.h"
#include "maze_grid.h"

enum : uint8_t { OUTSIDE, FRONTIER, INSIDE };

static int frontier[MAZE_MAX * MAZE_MAX + 4];

// Marks q inside and puts its outside neighbours on the frontier; returns
// the new frontier size.
static int take_in(const Steps &s, int q, int count) {
    grid_mark[q] = INSIDE;
    for (int d = 0; d < 4; d++) {
        // Branch-free: the neighbour is always written past the end and kept
        // only when it was outside.
        int n = q + s.to[d];
        uint8_t outside = grid_mark[n] == OUTSIDE;
        frontier[count] = n;
        count += outside;
        grid_mark[n] |= outside; // OUTSIDE becomes FRONTIER
    }
    return count;
}

void generate_prim(const Maze &m, Rng rng) {
    const Steps s = grid_steps(m);
    int count = take_in(s, random_cell(rng, m), 0);
    while (count > 0) {
        int i = static_cast<int>(rng_below(rng, count));
        int q = frontier[i];
        frontier[i] = frontier[--count];
        open_wall(s, q, random_dir(rng, neighbours_marked(s, q, INSIDE)));
        count = take_in(s, q, count);
    }
}
