// The generators behind maze_generate_full. Each gets a grid (maze_grid.h)
// of at least one cell with every wall closed and every cell marked 0, and
// removes exactly rows * cols - 1 walls.
#pragma once

#include "maze.h"
#include "maze_rng.h"

void generate_backtracker(const Maze &m, Rng rng);
void generate_prim(const Maze &m, Rng rng);
void generate_kruskal(const Maze &m, Rng rng);
void generate_aldous_broder(const Maze &m, Rng rng);
void generate_wilson(const Maze &m, Rng rng);
