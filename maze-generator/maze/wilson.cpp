// Wilson: from each cell not yet in the maze, walk at random until the maze
// is hit, remembering only the last way out of every cell passed; following
// those from the start gives the walk with its loops erased, which is then
// carved. Uniform over all perfect mazes, like Aldous-Broder.
#include "maze_algos.h"
#include "maze_grid.h"

static uint8_t exit_dir[GRID_CELLS];

void generate_wilson(const Maze &m, Rng rng) {
    constexpr uint8_t IN_MAZE = 1;
    const Steps s = grid_steps(m);
    grid_mark[random_cell(rng, m)] = IN_MAZE;
    for (int r = 0; r < m.rows; r++) {
        for (int c = 0; c < m.cols; c++) {
            int start = grid_index(m, r, c);
            for (int q = start; !grid_mark[q]; q += s.to[exit_dir[q]])
                exit_dir[q] = static_cast<uint8_t>(random_step(rng, s, q));
            for (int q = start; !grid_mark[q]; q += s.to[exit_dir[q]]) {
                open_wall(s, q, exit_dir[q]);
                grid_mark[q] = IN_MAZE;
            }
        }
    }
}
