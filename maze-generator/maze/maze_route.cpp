#include "maze_route.h"

#include <algorithm>

// Search scratch, cell index row * cols + col: the cell each one was reached
// from (-1 not yet), and the queue of cells to expand.
static int32_t came_from[MAZE_CELLS];
static int32_t queue[MAZE_CELLS];

uint8_t maze_drawn_walls(const Maze &m, int row, int col) {
    uint8_t walls = maze_cell(m, row, col);
    if (row == 0 && col == 0) walls &= static_cast<uint8_t>(~WALL_LEFT);
    if (row == m.rows - 1 && col == m.cols - 1) walls &= static_cast<uint8_t>(~WALL_RIGHT);
    return walls;
}

int maze_solve(const Maze &m, CellPos *path, int capacity) {
    const int rows = std::clamp(m.rows, 0, MAZE_MAX);
    const int cols = std::clamp(m.cols, 0, MAZE_MAX);
    if (rows == 0 || cols == 0) return 0;
    const int goal = rows * cols - 1;
    std::fill(came_from, came_from + rows * cols, -1);
    came_from[0] = 0;
    int head = 0, tail = 0;
    queue[tail++] = 0;
    while (head < tail && came_from[goal] < 0) {
        const int k = queue[head++];
        const int r = k / cols, c = k % cols;
        const uint8_t w = maze_cell(m, r, c);
        auto step = [&](bool open, int next) {
            if (open && came_from[next] < 0) {
                came_from[next] = k;
                queue[tail++] = next;
            }
        };
        step(r > 0 && !(w & WALL_TOP) && !(maze_cell(m, r - 1, c) & WALL_BOTTOM), k - cols);
        step(c + 1 < cols && !(w & WALL_RIGHT) && !(maze_cell(m, r, c + 1) & WALL_LEFT), k + 1);
        step(r + 1 < rows && !(w & WALL_BOTTOM) && !(maze_cell(m, r + 1, c) & WALL_TOP), k + cols);
        step(c > 0 && !(w & WALL_LEFT) && !(maze_cell(m, r, c - 1) & WALL_RIGHT), k - 1);
    }
    if (came_from[goal] < 0) return 0;
    int n = 1;
    for (int k = goal; k != 0; k = came_from[k]) n++;
    if (n > capacity) return 0;
    int i = n;
    for (int k = goal;; k = came_from[k]) {
        path[--i] = {static_cast<int16_t>(k / cols), static_cast<int16_t>(k % cols)};
        if (k == 0) break;
    }
    return n;
}
