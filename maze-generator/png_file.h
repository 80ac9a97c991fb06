// Encoding a picture as a PNG file's bytes (SDL2_image).
#pragma once

#include "picture.h"

#include <string>

// The whole file into out; false when the picture could not be encoded.
bool encode_png(const Picture &p, std::string &out);
