// The main loop's state and the per-frame logic that drives it. The pages
// (the title's choice, the options menu, the journey map) say what the
// player chose; the loop acts on it here.
#pragma once

#include "chat.h"

#include <SDL2/SDL_events.h>
#include <cstdint>
#include <string>

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

// One line under the view for a few seconds: a screenshot saved, a marker
// set, a journey not saved.
extern std::string notice;
extern int notice_is_error;
extern uint32_t notice_at;
constexpr uint32_t NOTICE_MS = 4000;
void say_notice(const std::string &text, int error);

void game_reset(uint32_t now); // loop start values
void handle_event(const SDL_Event &ev);
void start_intro();
// Mouse look on (relative mode, cursor hidden) or off (cursor shown).
void set_mouse_look(int on);
void update_intro(uint32_t now);
void update_player(uint32_t now, double dt);
void dark_presence_check();
void count_frame(uint32_t now);
// Time that passed while the game stood still (the options menu or the map
// open, the window hidden): the intro and the chat's messages take it up
// again where they were.
void hold_clocks(uint32_t ms);
void open_menu();

// The journey: read at start-up (the title then offers Continue), counted
// in every intro and play frame, written at the moments that keep a crash
// from losing more than a minute.
void journey_start(std::string *warning);
void journey_frame(uint32_t ms); // time played; writes the file every minute of it
void journey_write();            // not on the title: nothing was played yet
void window_hidden();

// Puts the settings that live outside the game's own globals into effect:
// volumes and full screen.
void settings_apply();
