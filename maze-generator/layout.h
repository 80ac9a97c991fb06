// Where the maze goes in the window: the cell size that makes it fit, the
// one-pixel rectangles of its walls and frame, and the solution's band.
#pragma once

#include "maze.h"
#include "maze_route.h"

#include <SDL_rect.h>
#include <array>

struct MazeLayout {
    int cell; // side of a cell in pixels
    int x, y; // top-left corner of cell (0, 0)
};

constexpr int MAX_WALL_RECTS = MAZE_MAX * MAZE_MAX * 4;

MazeLayout maze_layout(int rows, int cols);

// One rectangle per drawn wall flag (entrance and exit left out), row by row,
// on the cell's outermost pixel row or column. Writes at most capacity;
// returns how many it wrote.
int maze_wall_rects(const Maze &m, const MazeLayout &l, SDL_Rect *out, int capacity);

// The frame around the cells: top and bottom lines, then the left line above
// and below the entrance, then the right line above and below the exit. The
// gaps span the first row's cell (last row's on the right) less its top and
// bottom pixel rows, as an opening between two cells does. A maze without
// cells has no gaps: its side lines are whole and the parts below empty.
constexpr int FRAME_RECTS = 6;
std::array<SDL_Rect, FRAME_RECTS> maze_frame_rects(int rows, int cols, const MazeLayout &l);

// The solution as a band through the cell centres, one rectangle per step,
// plus one from the entrance gap in the frame to the first centre and one
// from the last centre to the exit gap. Clear of every wall line.
int maze_path_rects(const CellPos *path, int n, int rows, int cols, const MazeLayout &l,
                    SDL_Rect *out, int capacity);

// Width of that band: a third of a cell, at least a pixel.
int path_px(int cell);
