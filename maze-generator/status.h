// The status line: maze size (columns first), generation time and algorithm.
#pragma once

#include "config.h"

#include <cstdint>

void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo);
