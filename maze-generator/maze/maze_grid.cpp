#include "maze_grid.h"

#include <cstring>

uint8_t grid_walls[GRID_CELLS];
uint8_t grid_mark[GRID_CELLS];

void grid_start(const Maze &m) {
    const int size = (m.rows + 2) * (m.cols + 1);
    std::memset(grid_walls, WALL_ALL, size);
    std::memset(grid_mark, MARK_BORDER, size);
    for (int r = 0; r < m.rows; r++) std::memset(grid_mark + grid_index(m, r, 0), 0, m.cols);
}

void grid_finish(Maze &m) {
    for (int r = 0; r < m.rows; r++)
        std::memcpy(m.cells + r * MAZE_STRIDE, grid_walls + grid_index(m, r, 0), m.cols);
}
