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

void game_reset(uint32_t now); // loop start values
void handle_event(const SDL_Event &ev);
void start_intro();
void update_intro(uint32_t now);
void update_player(uint32_t now, double dt);
void dark_presence_check();

// Chat console (chat.cpp)
void chat_add(const char *text);
void chat_open_console();
void chat_close_console();
void chat_handle_event(const SDL_Event &ev);
void post_dark_presence();
