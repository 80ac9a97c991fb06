// Everything flat on the screen: the title frame, the intro fade, the corner
// map, the position readout, and the text quads the chat draws with.
#pragma once

#include <SDL2/SDL_ttf.h>
#include <cstdint>

extern TTF_Font *font_small;  // 14 pt monospace: readout and chat
extern TTF_Font *font_medium; // 18 pt bold: title banner
extern TTF_Font *font_large;  // 28 pt bold: title prompt

extern const char *const ascii_art[7];

// Scale of the 960x600 reference layout to the drawable, set per frame.
extern float overlay_sx, overlay_sy;

// One string as a textured quad at (x, y), scaled by the frame's sx and sy;
// the texture is deleted before returning.
void draw_text_quad(TTF_Font *font, const char *text, SDL_Color color, float x, float y,
                    float alpha);

void draw_title_screen(uint32_t ticks);
void draw_overlay(int state, uint32_t ticks, int w, int h);
void draw_map(int w, int h);
void draw_chat(uint32_t ticks, int w, int h); // chat_view.cpp

// Shared by the overlay and the chat.
void fill_rect(float x0, float y0, float x1, float y1, float r, float g, float b, float a);
