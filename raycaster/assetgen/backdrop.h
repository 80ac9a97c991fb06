// The title backdrop: a first-person view down one of the maze's corridors,
// lit by a flashlight and by a lamp round the far corner, fading into black.
#pragma once

#include "image.h"

// Renders with the given wall, floor and ceiling images (wall as seen, row 0
// at the top) so the backdrop shows the very textures the game uses.
Image backdrop(const Image &wall, const Image &floor, const Image &ceiling);
