// Light level of a map cell: 1.0 in ordinary places, darker near the dark
// blocks scattered over the plane, lifted again by the flashlight.
#pragma once

// Pure function of the cell and the player state (px, py, pa, flash_spring).
float cell_light_level(int x, int y);

// 1 when 4x4 block (bx, by) is a centre of darkness.
int dark_block(int bx, int by);
