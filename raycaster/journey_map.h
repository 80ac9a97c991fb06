// The journey map page: every cell the corner map has shown, north up,
// zoomed and panned by the player. A page: it says when the player closed
// it; the loop holds the game while it is open.
#pragma once

#include <SDL2/SDL_events.h>

extern int map_open;
extern double map_x, map_y; // the cell coordinates at the page's centre
extern double map_zoom;     // pixels a cell at the 960x600 reference size
// Something changed since the page was last drawn (an event reached it, the
// stick pans it); until then the picture shown stays right.
extern int map_changed;

constexpr double MAP_ZOOM_MIN = 0.25, MAP_ZOOM_MAX = 32, MAP_ZOOM_START = 10;

// Opens the page centred on the player.
void map_open_at(double x, double y, double player_x, double player_y);
// 1 when the event closed the page.
int map_handle_event(const SDL_Event &ev);
// Panning with the left stick, held over dt seconds.
void map_update(double dt);

// Pixels per cell on a W x H drawable, and its text's scale (never below
// the fonts' own size, so small windows keep readable text).
double map_cell_pixels(int w, int h);
float map_text_scale(int w, int h);
