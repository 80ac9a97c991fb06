#include "maze_check.h"

#include <vector>

static std::string at(const char *what, int r, int c) {
    return std::string(what) + " at row " + std::to_string(r) + ", col " + std::to_string(c);
}

std::string maze_problems(const Maze &m) {
    if (m.rows < 0 || m.rows > MAZE_MAX || m.cols < 0 || m.cols > MAZE_MAX)
        return "size out of range";
    long openings = 0;
    for (int r = 0; r < m.rows; r++) {
        for (int c = 0; c < m.cols; c++) {
            uint8_t w = maze_cell(m, r, c);
            if (w & ~WALL_ALL) return at("stray bits", r, c);
            if (r == 0 && !(w & WALL_TOP)) return at("open top border", r, c);
            if (r == m.rows - 1 && !(w & WALL_BOTTOM)) return at("open bottom border", r, c);
            if (c == 0 && !(w & WALL_LEFT)) return at("open left border", r, c);
            if (c == m.cols - 1 && !(w & WALL_RIGHT)) return at("open right border", r, c);
            if (c + 1 < m.cols) {
                bool right = w & WALL_RIGHT;
                if (right != bool(maze_cell(m, r, c + 1) & WALL_LEFT))
                    return at("one-sided right wall", r, c);
                openings += !right;
            }
            if (r + 1 < m.rows) {
                bool bottom = w & WALL_BOTTOM;
                if (bottom != bool(maze_cell(m, r + 1, c) & WALL_TOP))
                    return at("one-sided bottom wall", r, c);
                openings += !bottom;
            }
        }
    }
    long cells = long(m.rows) * m.cols;
    if (cells == 0) return "";
    if (openings != cells - 1)
        return std::to_string(openings) + " openings, want " + std::to_string(cells - 1);

    std::vector<char> seen(cells, 0);
    std::vector<int> todo = {0};
    seen[0] = 1;
    long reached = 1;
    while (!todo.empty()) {
        int k = todo.back();
        todo.pop_back();
        int r = k / m.cols, c = k % m.cols;
        uint8_t w = maze_cell(m, r, c);
        auto visit = [&](bool open, int next) {
            if (open && !seen[next]) {
                seen[next] = 1;
                reached++;
                todo.push_back(next);
            }
        };
        visit(!(w & WALL_TOP) && r > 0, k - m.cols);
        visit(!(w & WALL_BOTTOM) && r + 1 < m.rows, k + m.cols);
        visit(!(w & WALL_LEFT) && c > 0, k - 1);
        visit(!(w & WALL_RIGHT) && c + 1 < m.cols, k + 1);
    }
    if (reached != cells)
        return "only " + std::to_string(reached) + " of " + std::to_string(cells) +
               " cells reached";
    return "";
}

int dead_ends(const Maze &m) {
    int n = 0;
    for (int r = 0; r < m.rows; r++)
        for (int c = 0; c < m.cols; c++) n += __builtin_popcount(maze_cell(m, r, c)) == 3;
    return n;
}
