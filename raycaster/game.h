// The main loop's state and the per-frame logic that drives it.
#pragma once

#include <SDL2/SDL_events.h>
#include <cstdint>

enum : int { STATE_TITLE = 0, STATE_INTRO = 1, STATE_PLAY = 2 };

extern int game_state;
extern int next_state;
extern bool quit_requested;
extern uint32_t intro_start;
extern uint32_t last_step_tick;
extern int show_map;
extern int mouse_look;

extern double music_ramp;     // 0 on the title, rising over the intro, 1 in play
extern int frames_per_second; // frames drawn in the last whole second

void game_reset(uint32_t now); // loop start values
void handle_event(const SDL_Event &ev);
void start_intro();
// Mouse look on (relative mode, cursor hidden) or off (cursor shown).
void set_mouse_look(int on);
void update_intro(uint32_t now);
void update_player(uint32_t now, double dt);
void dark_presence_check();
void count_frame(uint32_t now);
// Time that passed while the game stood still (the options menu open, the
// window hidden): the intro and the chat's messages take it up again where
// they were.
void hold_clocks(uint32_t ms);

// Puts the settings that live outside the game's own globals into effect:
// volumes and full screen.
void settings_apply();
// A mouse position in window coordinates as drawable pixels, which differ
// on high-DPI displays.
void drawable_point(int x, int y, int *dx, int *dy);

// Chat console (chat.cpp)
void chat_add(const char *text);
void chat_open_console();
void chat_close_console();
void chat_handle_event(const SDL_Event &ev);
void post_dark_presence();
