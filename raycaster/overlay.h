// Everything flat on the screen: the title frame, the intro fade, the corner
// map and the position readout; the chat view draws its own layer on top.
#pragma once

#include <cstdint>

extern const char *const ascii_art[7];

void draw_title_screen(uint32_t ticks);
void draw_overlay(int state, uint32_t ticks, int w, int h);
void draw_map(int w, int h);
// The journey map over the whole window, with the notice line, presented.
void draw_map_page(uint32_t ticks, int w, int h);
