// Fonts and text drawing (SDL2_ttf).
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdint>

extern TTF_Font *font_sm;
extern TTF_Font *font_lg;
extern TTF_Font *font_title;

// Opens each font from the first of FONT_PATHS that works; a font found
// nowhere stays null and text drawn with it is skipped.
void open_fonts();
void close_fonts();

// Draws text with its top-left corner at (x, y), opaque whatever the colour's alpha.
void draw_text(SDL_Renderer *r, int x, int y, const char *text, uint32_t color, TTF_Font *font);
