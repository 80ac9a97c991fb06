// What makes a maze perfect, checked from the cell bytes alone: shared by the
// library tests and the end-to-end test, which reads a maze back from the
// screen.
#pragma once

#include "maze.h"

#include <string>

// Empty when the maze is perfect; otherwise the first problem found.
// Perfect: only wall bits set, the border closed, every inner wall the same
// from both sides, exactly rows * cols - 1 openings and every cell reachable
// (which together rule out loops).
std::string maze_problems(const Maze &m);

// Cells with three walls.
int dead_ends(const Maze &m);
