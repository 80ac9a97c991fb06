#include "layout.h"

#include "config.h"

#include <algorithm>

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
            uint8_t walls = maze_cell(m, i, j);
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

std::array<SDL_Rect, 4> maze_frame_rects(int rows, int cols, const MazeLayout &l) {
    const int w = l.cell * cols;
    const int h = l.cell * rows;
    return {{
        {l.x - 1, l.y - 1, w + 2, 1},
        {l.x - 1, l.y + h, w + 2, 1},
        {l.x - 1, l.y - 1, 1, h + 2},
        {l.x + w, l.y - 1, 1, h + 2},
    }};
}
