// The maze as pictures for print: an SVG document and a PNG's pixels, each
// with the entrance and exit open and, when a path is given, the solution.
#pragma once

#include "maze.h"
#include "maze_route.h"

#include <cstdint>
#include <string>
#include <vector>

// 0xAARRGGBB pixels, row by row.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
};

// Cell units with the maze's top-left corner at (0, 0) and a one-cell margin
// in the viewBox. The walls are one path of horizontal and vertical runs
// along the cell edges; the solution, when n > 0, a polyline from the
// entrance gap through every cell centre of the path to the exit gap. The
// title names the size (columns x rows) and the algorithm.
std::string maze_svg(const Maze &m, const char *algo, const CellPos *path, int n);

// PNG_CELL_PX per cell plus PNG_MARGIN_PX all round.
Picture maze_picture(const Maze &m, const CellPos *path, int n);
