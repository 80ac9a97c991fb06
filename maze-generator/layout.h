// Where the maze goes in the window: the cell size that makes it fit, and the
// one-pixel rectangles of its walls and frame.
#pragma once

#include "maze.h"

#include <SDL_rect.h>
#include <array>

struct MazeLayout {
    int cell; // side of a cell in pixels
    int x, y; // top-left corner of cell (0, 0)
};

constexpr int MAX_WALL_RECTS = MAZE_MAX * MAZE_MAX * 4;

MazeLayout maze_layout(int rows, int cols);

// One rectangle per set wall flag, row by row, on the cell's outermost pixel
// row or column. Writes at most capacity; returns how many it wrote.
int maze_wall_rects(const Maze &m, const MazeLayout &l, SDL_Rect *out, int capacity);

// Top, bottom, left and right lines of the frame around the cells.
std::array<SDL_Rect, 4> maze_frame_rects(int rows, int cols, const MazeLayout &l);
