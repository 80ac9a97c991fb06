// The first-person view: floor, ceiling, walls, pillars and secret faces as
// textured quads under fixed-function lighting and fog.
#pragma once

#include <SDL2/SDL_video.h>

extern SDL_Window *win;

// Draws the whole view from the player globals; leaves depth test and
// texturing on and lighting, light 0 and fog off for the overlay.
void render_3d();
