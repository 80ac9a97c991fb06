// Wall images: ordinary brick and the secret face. All are made the way a
// viewer sees them, row 0 at the top of the wall; the caller flips the ones
// the game draws with row 0 at the floor.
#pragma once

#include "image.h"

Image brick_wall();
Image secret_wall();
