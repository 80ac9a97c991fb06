// The status line: maze size (columns first), generation time and algorithm,
// or for a few seconds the outcome of an export.
#pragma once

#include "config.h"
#include "controls.h"

#include <cstdint>

void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo);

// Shows text in the status line for MESSAGE_MS from now.
void show_message(ViewState &s, const char *text, uint32_t now);

// What the status line shows at tick now.
void status_line(char (&out)[STATUS_BYTES], const ViewState &s, const Maze &m, uint32_t now);
