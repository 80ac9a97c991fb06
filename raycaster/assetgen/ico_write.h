// Icon (ICO) and cursor (CUR) files holding one 32-bit BMP image with
// alpha. BMP rather than PNG inside, because the game's image loader reads
// only the BMP kind.
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

constexpr uint16_t ICO_TYPE_ICON = 1;
constexpr uint16_t ICO_TYPE_CURSOR = 2;

// For a cursor, (hot_x, hot_y) is the hot spot; an icon ignores them.
std::vector<uint8_t> ico_encode(const Image &img, uint16_t type, int hot_x = 0, int hot_y = 0);
