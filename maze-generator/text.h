// Fonts and text drawing (SDL2_ttf).
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdint>

extern TTF_Font *font_sm;
extern TTF_Font *font_lg;
extern TTF_Font *font_title;

// Opens the fonts from the first of FONT_PATHS, then BUNDLED_FONT_PATHS,
// that opens and draws in every size, saying on standard error which files
// failed. When none does, the
// fonts stay null, text is skipped and standard error says so.
void open_fonts();
void close_fonts();

// Draws text with its top-left corner at (x, y), opaque whatever the colour's
// alpha. The texture made for it is kept for later frames that draw the same
// text in the same font and colour.
void draw_text(SDL_Renderer *r, int x, int y, const char *text, uint32_t color, TTF_Font *font);

// Width of text in font, in pixels; 0 when it cannot be measured.
int text_width(TTF_Font *font, const char *text);

// Lets go of every kept texture: before the renderer goes, or when its
// device was reset and took them with it.
void forget_texts();
