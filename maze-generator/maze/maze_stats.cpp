#include "maze_stats.h"

#include "maze_route.h"

#include <algorithm>
#include <cstdio>

static CellPos path[MAZE_CELLS];

// A passage needs both cells' walls open, as the solver reads it.
static bool open_right(const Maze &m, int r, int c) {
    return c + 1 < m.cols && !(maze_cell(m, r, c) & WALL_RIGHT) &&
           !(maze_cell(m, r, c + 1) & WALL_LEFT);
}

static bool open_down(const Maze &m, int r, int c) {
    return r + 1 < m.rows && !(maze_cell(m, r, c) & WALL_BOTTOM) &&
           !(maze_cell(m, r + 1, c) & WALL_TOP);
}

MazeStats maze_stats(const Maze &m) {
    MazeStats s{};
    const int rows = std::clamp(m.rows, 0, MAZE_MAX);
    const int cols = std::clamp(m.cols, 0, MAZE_MAX);
    if (rows == 0 || cols == 0) return s;
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < cols; c++) {
            int ways = int(open_right(m, r, c)) + int(open_down(m, r, c)) +
                       int(c > 0 && open_right(m, r, c - 1)) + int(r > 0 && open_down(m, r - 1, c));
            ways += (r == 0 && c == 0) + (r == rows - 1 && c == cols - 1);
            s.dead_ends += ways == 1;
            s.junctions += ways >= 3;
        }
    }
    for (int r = 0; r < rows; r++) {
        int run = 1;
        for (int c = 0; c < cols; c++) {
            s.longest_straight = std::max(s.longest_straight, run);
            run = open_right(m, r, c) ? run + 1 : 1;
        }
    }
    for (int c = 0; c < cols; c++) {
        int run = 1;
        for (int r = 0; r < rows; r++) {
            s.longest_straight = std::max(s.longest_straight, run);
            run = open_down(m, r, c) ? run + 1 : 1;
        }
    }
    s.solution_cells = maze_solve(m, path, MAZE_CELLS);
    s.solution_percent = 100.0 * s.solution_cells / (double(rows) * cols);
    return s;
}

void format_stats(char *out, int size, const MazeStats &s) {
    std::snprintf(out, size_t(size),
                  "dead ends %d  junctions %d  solution %d cells (%.1f%%)  longest straight %d",
                  s.dead_ends, s.junctions, s.solution_cells, s.solution_percent,
                  s.longest_straight);
}
