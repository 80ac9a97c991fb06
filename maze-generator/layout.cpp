#include "layout.h"

#include "config.h"

#include <algorithm>
#include <cstdlib>

MazeLayout maze_layout(int rows, int cols) {
    // Room for the cells between the frame's near line and the margin beyond
    // its far line.
    constexpr int ROOM_W = WINDOW_W - MAZE_MARGIN - 1 - MAZE_X;
    constexpr int ROOM_H = WINDOW_H - MAZE_MARGIN - 1 - MAZE_Y;
    int cell = CELL_PX;
    if (rows > 0) cell = std::min(cell, ROOM_H / rows);
    if (cols > 0) cell = std::min(cell, ROOM_W / cols);
    return {std::max(cell, MIN_CELL_PX), MAZE_X, MAZE_Y};
}

int maze_wall_rects(const Maze &m, const MazeLayout &l, SDL_Rect *out, int capacity) {
    const int c = l.cell;
    int n = 0;
    auto add = [&](int x, int y, int w, int h) {
        if (n < capacity) out[n++] = {x, y, w, h};
    };
    for (int i = 0; i < m.rows; i++) {
        for (int j = 0; j < m.cols; j++) {
            uint8_t walls = maze_drawn_walls(m, i, j);
            int x = l.x + c * j;
            int y = l.y + c * i;
            if (walls & WALL_TOP) add(x, y, c, 1);
            if (walls & WALL_BOTTOM) add(x, y + c - 1, c, 1);
            if (walls & WALL_LEFT) add(x, y, 1, c);
            if (walls & WALL_RIGHT) add(x + c - 1, y, 1, c);
        }
    }
    return n;
}

std::array<SDL_Rect, FRAME_RECTS> maze_frame_rects(int rows, int cols, const MazeLayout &l) {
    const int w = l.cell * cols;
    const int h = l.cell * rows;
    const int left = l.x - 1, right = l.x + w, top = l.y - 1, bottom = l.y + h;
    if (rows <= 0 || cols <= 0)
        return {{{left, top, w + 2, 1},
                 {left, bottom, w + 2, 1},
                 {left, top, 1, h + 2},
                 {left, bottom, 1, 0},
                 {right, top, 1, h + 2},
                 {right, bottom, 1, 0}}};
    const int c = l.cell;
    return {{
        {left, top, w + 2, 1},
        {left, bottom, w + 2, 1},
        {left, top, 1, 2},
        {left, l.y + c - 1, 1, h - c + 2},
        {right, top, 1, h - c + 2},
        {right, bottom - 1, 1, 2},
    }};
}

int path_px(int cell) {
    return std::max(1, cell / 3);
}

int maze_path_rects(const CellPos *path, int n, int rows, int cols, const MazeLayout &l,
                    SDL_Rect *out, int capacity) {
    if (n <= 0 || rows <= 0 || cols <= 0) return 0;
    const int c = l.cell, t = path_px(c);
    const int inset = (c - t) / 2; // from a cell's corner to the band
    auto corner_x = [&](int col) { return l.x + c * col + inset; };
    auto corner_y = [&](int row) { return l.y + c * row + inset; };
    int count = 0;
    auto add = [&](int x0, int y0, int x1, int y1) { // corners of the band's end squares
        if (count < capacity)
            out[count++] = {std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0) + t,
                            std::abs(y1 - y0) + t};
    };
    add(l.x - 1, corner_y(0), corner_x(0), corner_y(0));
    for (int i = 1; i < n; i++)
        add(corner_x(path[i - 1].col), corner_y(path[i - 1].row), corner_x(path[i].col),
            corner_y(path[i].row));
    const int x_end = l.x + c * cols - t + 1; // the band's last column on the frame's
    add(corner_x(path[n - 1].col), corner_y(path[n - 1].row), x_end, corner_y(rows - 1));
    return count;
}
