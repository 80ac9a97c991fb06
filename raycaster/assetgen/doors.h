// The door set into a secret face: a stone-framed arch holding a plank door,
// closed or swung open into a dark passage. Made as seen, row 0 at the top.
#pragma once

#include "image.h"

Image door_closed();
Image door_open();
