// PNG encoder: 8-bit RGB or RGBA, zlib-compressed, no ancillary chunks (no
// time stamp), so the same image always gives the same bytes.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

// 8-bit channel value of a 0..1 float, rounded.
uint8_t to_byte(float v);

std::vector<uint8_t> png_encode(const Image &img, bool with_alpha);
bool write_file(const std::string &path, const std::vector<uint8_t> &bytes);
bool png_write(const std::string &path, const Image &img, bool with_alpha);
