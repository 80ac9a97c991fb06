// Writing a picture as a PNG file (SDL2_image).
#pragma once

#include "picture.h"

// False when the file could not be written; errno may tell why.
bool save_png(const Picture &p, const char *path);
