// The window icon and the mouse cursor, as RGBA images with alpha.
#pragma once

#include "image.h"

// A rounded tile showing a corridor receding to a pale blue light, drawn at
// `size` pixels square (the window icon is ICON_SIZE; the desktop's theme
// takes the same drawing at its own sizes).
Image window_icon(int size);
// A white arrow with a black outline whose tip fills pixel (0, 0), where the
// game puts the cursor's hot spot.
Image arrow_cursor();
