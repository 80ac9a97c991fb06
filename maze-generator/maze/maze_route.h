// The way through a maze: the entrance in the left border of the top-left
// cell, the exit in the right border of the bottom-right cell, and the path
// between them. The openings exist only in the drawing: the maze itself keeps
// its closed border, so everything the generators promise still holds.
#pragma once

#include "maze.h"

#include <cstdint>

constexpr int MAZE_CELLS = MAZE_MAX * MAZE_MAX;

struct CellPos {
    int16_t row, col;
};

// The walls to draw for a cell: its own flags less the entrance or the exit.
uint8_t maze_drawn_walls(const Maze &m, int row, int col);

// Breadth-first search from the top-left cell to the bottom-right one, moving
// only where neither cell has a wall between them. Writes the path's cells,
// entrance first, and returns how many: the shortest path, which in a perfect
// maze is the only one. Returns 0 when there are no cells, no path, or more
// cells in it than capacity.
int maze_solve(const Maze &m, CellPos *path, int capacity);
