// The maze as pictures for print: an SVG document and a PNG's pixels, each
// with the entrance and exit open and, when a path is given, the solution.
#pragma once

#include "maze.h"
#include "maze_route.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// 0xAARRGGBB pixels, row by row.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
};

// The walls, entrance and exit left out, as long straight runs along the
// cell edges in cell units: every horizontal run (x0, y) to (x1, y), then
// every vertical one (x, y0) to (x, y1). Fewer, longer segments keep a large
// maze's drawing small.
void maze_wall_runs(const Maze &m, const std::function<void(int, int, int, int)> &run);

// Cell units with the maze's top-left corner at (0, 0) and a one-cell margin
// in the viewBox. The walls are one path of horizontal and vertical runs
// along the cell edges; the solution, when n > 0, a polyline from the
// entrance gap through every cell centre of the path to the exit gap. The
// title names the size (columns x rows) and the algorithm; about, when
// given, goes into the description.
std::string maze_svg(const Maze &m, const char *algo, const CellPos *path, int n,
                     const char *about = nullptr);

// PNG_CELL_PX per cell plus PNG_MARGIN_PX all round.
Picture maze_picture(const Maze &m, const CellPos *path, int n);

// "Maze 40x25, PRIM, seed K7QX2M: dead ends 12  junctions 9  ...": what an
// export says about its maze.
std::string maze_about(const Maze &m, const char *algo, uint32_t seed);

// Puts a text chunk (key and Latin-1 text) right after a PNG file's header,
// where every viewer's file information finds it. Leaves anything that is
// not a PNG as it is.
void png_add_text(std::string &png, const char *key, const std::string &text);
