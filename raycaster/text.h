// Flat drawing shared by the title, the overlay and the chat view: the three
// fonts, the scale of the 960x600 reference layout, filled rectangles, and
// strings drawn as textured quads.
//
// A string keeps its texture from one frame to the next while it is drawn
// every frame in the same font and colour, so text that does not change is
// rendered and uploaded once; a string not drawn in a frame gives its
// texture back when that frame ends.
#pragma once

#include <SDL2/SDL_ttf.h>
#include <cstdint>

extern TTF_Font *font_small;  // 14 pt monospace: readout and chat
extern TTF_Font *font_medium; // 18 pt bold: title banner
extern TTF_Font *font_large;  // 28 pt bold: title prompt

// Scale of the 960x600 reference layout to the drawable, set per frame.
extern float overlay_sx, overlay_sy;
void set_overlay_scale(int w, int h);

void fill_rect(float x0, float y0, float x1, float y1, float r, float g, float b, float a);
void outline_rect(float x0, float y0, float x1, float y1, float r, float g, float b, float a);

// One string as a textured quad at (x, y), its rendered size scaled by sx
// and sy. The colour's alpha and `alpha` both weigh the text's coverage.
// Combining marks stacked above the letters reach up past y, so that the
// letters stay where they would be without them.
void draw_text_quad(TTF_Font *font, const char *text, SDL_Color color, float x, float y,
                    float alpha);
// The same at a size measured beforehand (w x h before scaling).
void draw_text_quad_sized(TTF_Font *font, const char *text, SDL_Color color, float x, float y,
                          float alpha, int w, int h);

// Ends a frame's text: deletes the textures of strings it did not draw.
void text_frame_end();
// Deletes every kept texture, as before closing a font. 0 turns keeping off
// (every string is rendered, drawn and deleted at once), 1 back on.
void text_cache_reset(int enabled = 1);
int text_cache_textures(); // textures kept now
