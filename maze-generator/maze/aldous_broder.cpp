// Aldous-Broder: a random walk over the whole grid that opens the wall into
// every cell it enters for the first time. Every perfect maze is equally
// likely, at the price of a long walk (millions of steps at 300 x 300).
#include "maze_algos.h"
#include "maze_grid.h"

void generate_aldous_broder(const Maze &m, Rng rng) {
    constexpr uint8_t VISITED = 1;
    const Steps s = grid_steps(m);
    int q = random_cell(rng, m);
    grid_mark[q] = VISITED;
    int unvisited = m.rows * m.cols - 1;
    while (unvisited > 0) {
        int d = random_step(rng, s, q);
        int next = q + s.to[d];
        if (!grid_mark[next]) {
            open_wall(s, q, d);
            grid_mark[next] = VISITED;
            unvisited--;
        }
        q = next;
    }
}
