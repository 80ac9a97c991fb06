// Floor and ceiling images; both repeat many times per cell and tile.
#pragma once

#include "image.h"

Image floor_tiles();
Image ceiling_panels();
