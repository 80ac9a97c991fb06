// Figures that tell how hard a maze is, counted on the maze as drawn: the
// entrance and the exit are ways out of their cells.
#pragma once

#include "maze.h"

struct MazeStats {
    int dead_ends;           // cells with one way out
    int junctions;           // cells with three or four
    int solution_cells;      // cells on the way from the entrance to the exit
    double solution_percent; // those as a share of all cells
    int longest_straight;    // most cells in one straight run of open passages
};

MazeStats maze_stats(const Maze &m);

// "dead ends 12  junctions 9  solution 41 cells (20.5%)  longest straight 6", cut to
// the buffer.
void format_stats(char *out, int size, const MazeStats &s);
