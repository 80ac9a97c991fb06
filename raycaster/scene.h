// The first-person view: floor, ceiling, walls, pillars and secret faces as
// textured quads under fixed-function lighting and fog.
#pragma once

#include <SDL2/SDL_video.h>

extern SDL_Window *win;

// 1 draws with the straightforward immediate-mode passes instead of the
// batched ones; both give the same picture. For tests and benchmarks.
extern int render_reference;

// Draws the whole view from the player globals; leaves depth test and
// texturing on and lighting, light 0 and fog off for the overlay.
void render_3d();

// Keeps freed heap memory in the process. The GL driver allocates and frees
// large vertex buffers on every draw; giving that memory back to the system
// each time costs fresh page faults every frame, which on a software
// renderer was most of the frame time. Call once at start-up.
void keep_heap_between_frames();
