// Drawing one frame of the window with the SDL 2D renderer.
#pragma once

#include "controls.h"

#include <SDL.h>

void btn_draw(SDL_Renderer *r, const Button &b, int hovered);

// Background, toolbar, buttons, the status line given and the help lines,
// then the maze and its frame, and the solution when it is switched on.
void draw_view(SDL_Renderer *r, const ViewState &s, const Maze &m, const char *status,
               uint32_t status_color);
