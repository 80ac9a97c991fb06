// The chat's layer of the overlay: recent messages and, while open, the
// input line with its close box.
#pragma once

#include <cstdint>

void draw_chat(uint32_t ticks, int w, int h);
