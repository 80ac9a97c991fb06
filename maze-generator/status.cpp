#include "status.h"

#include <cstdio>

void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo) {
    std::snprintf(out, sizeof out, "%dx%d  %dms  ALGO:%s", cols, rows, static_cast<int>(ms),
                  algo ? algo : "");
}
