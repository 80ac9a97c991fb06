// Recursive backtracker: a random depth-first walk that backs up when it is
// boxed in. The "recursion" is an explicit stack, so even a 300 x 300 maze,
// whose path can run 90,000 cells deep, needs no call stack.
#include "maze_algos.h"
#include "maze_grid.h"

static int path[MAZE_MAX * MAZE_MAX];

void generate_backtracker(const Maze &m, Rng rng) {
    constexpr uint8_t VISITED = 1;
    const Steps s = grid_steps(m);
    path[0] = random_cell(rng, m);
    grid_mark[path[0]] = VISITED;
    int depth = 1;
    while (depth > 0) {
        int q = path[depth - 1];
        unsigned fresh = neighbours_marked(s, q, 0);
        if (!fresh) {
            depth--;
            continue;
        }
        int d = random_dir(rng, fresh);
        open_wall(s, q, d);
        q += s.to[d];
        grid_mark[q] = VISITED;
        path[depth++] = q;
    }
}
