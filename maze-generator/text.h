// Fonts and text drawing (SDL2_ttf).
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdint>

extern TTF_Font *font_sm;
extern TTF_Font *font_lg;
extern TTF_Font *font_title;

// Opens the fonts from the first of FONT_PATHS that opens and draws in every
// size, saying on standard error which files failed. When none does, the
// fonts stay null, text is skipped and standard error says so.
void open_fonts();
void close_fonts();

// Draws text with its top-left corner at (x, y), opaque whatever the colour's alpha.
void draw_text(SDL_Renderer *r, int x, int y, const char *text, uint32_t color, TTF_Font *font);
