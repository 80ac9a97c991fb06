// The status line: maze size (columns first), generation time, algorithm
// and seed, or for a few seconds the outcome of an export or a seed action;
// under it the maze's statistics.
#pragma once

#include "config.h"
#include "controls.h"

#include <cstdint>

// "80x50  12ms  ALGO:RECURSIVE  seed K7QX2M"; without a seed, no seed part.
void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo,
                   const char *seed = nullptr);

// "dead ends 412  junctions 380  way 533 (13%)  straight 9": short enough
// for the room before the key help at every window size.
void format_stats_line(char (&out)[STATUS_BYTES], const MazeStats &s);

// Shows text in the status line for MESSAGE_MS from now; a failure's stands
// out in COLOR_ERROR.
void show_message(ViewState &s, const char *text, uint32_t now, bool failed = false);

// What the status line shows at tick now; returns the colour to draw it in.
uint32_t status_line(char (&out)[STATUS_BYTES], const ViewState &s, const Maze &m, uint32_t now);

// Milliseconds from now until the status line changes by itself (a message
// running out); -1 when it will not.
int status_wait_ms(const ViewState &s, uint32_t now);
