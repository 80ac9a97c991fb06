// Images and text surfaces turned into GL textures.
#pragma once

#include <SDL2/SDL_rwops.h>
#include <SDL2/SDL_surface.h>
#include <cstdint>
#include <string>

extern uint32_t tex_wall, tex_secret, tex_floor_id, tex_ceil, tex_bg;
extern uint32_t tex_door_closed, tex_door_open;
extern uint32_t max_texture_name;    // highest name handed out so far
extern std::string texture_failures; // every "Failed: ..." line printed so far

// A scene texture from an image file: nearest filtering, repeating. An image
// larger than GL takes is scaled down to fit, with a line on stderr. 0 after
// printing "Failed: <path> (<reason>)" when the file does not load or GL
// does not take it; the reason is the system's when the file does not open.
uint32_t load_gl_tex(const char *path);
// The same from a stream, which it closes; `name` stands for it in the failure line.
uint32_t load_gl_tex_rw(SDL_RWops *src, const char *name);
// A text texture from a caller's surface: linear filtering, clamped. 0 on failure.
uint32_t surf_to_gl(SDL_Surface *surface);
