#include "game.h"
#include "chat_store.h"
#include "clock.h"
#include "config.h"
#include "flashlight.h"
#include "light.h"
#include "player.h"
#include "sys.h"

#include <array>
#include <cmath>
#include <cstdlib>

int game_state = STATE_TITLE;
int next_state = STATE_TITLE;
bool quit_requested = false;
uint32_t intro_start = 0;
uint32_t last_step_tick = 0;
int show_map = 0;
int mouse_look = 0;

void game_reset(uint32_t now) {
    game_state = next_state = STATE_TITLE;
    quit_requested = false;
    intro_start = now;
    last_step_tick = 0;
    show_map = 0;
    mouse_look = 0;
}

void start_intro() {
    intro_start = sys_ticks();
    game_state = STATE_INTRO;
    sys_set_relative_mouse(1);
    mouse_look = 1; // relative mode hides the cursor
}

static void release_mouse() {
    sys_set_relative_mouse(0);
    sys_show_cursor(1);
    mouse_look = 0;
}

static void key_binding(SDL_Keycode key) {
    switch (key) {
    case SDLK_ESCAPE:
        if (mouse_look)
            release_mouse();
        else
            quit_requested = true;
        break;
    case SDLK_TAB: {
        int old = mouse_look;
        mouse_look = !old;
        sys_set_relative_mouse(mouse_look);
        sys_show_cursor(old ? 1 : 0);
        break;
    }
    case SDLK_f:
    case SDLK_F11:
        sys_toggle_fullscreen();
        break;
    case SDLK_m:
        show_map ^= 1;
        break;
    case SDLK_q:
        flashlight_toggle();
        break;
    case SDLK_t:
        if (game_state == STATE_PLAY) chat_open_console();
        break;
    default:
        break;
    }
}

// Buttons act when pressed; the d-pad, the stick click and the triggers are
// held controls that the player update reads every frame.
static void pad_button(int button) {
    if (chat_open) { // the chat line is typed; Start closes it as Esc does
        if (button == SDL_CONTROLLER_BUTTON_START) chat_close_console();
        return;
    }
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        if (game_state == STATE_PLAY) toggle_nearest_door();
        break;
    case SDL_CONTROLLER_BUTTON_X:
        flashlight_toggle();
        break;
    case SDL_CONTROLLER_BUTTON_Y:
        show_map ^= 1;
        break;
    case SDL_CONTROLLER_BUTTON_BACK:
        sys_toggle_fullscreen();
        break;
    case SDL_CONTROLLER_BUTTON_START:
        key_binding(SDLK_ESCAPE);
        break;
    default:
        break;
    }
}

void handle_event(const SDL_Event &ev) {
    switch (ev.type) {
    case SDL_QUIT:
        quit_requested = true;
        return;
    case SDL_CONTROLLERDEVICEADDED: // plugging in counts in every state
        sys_pad_added(ev.cdevice.which);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        sys_pad_removed(ev.cdevice.which);
        return;
    case SDL_CONTROLLERBUTTONDOWN: // as keys, only for the focused window
        if (!sys_window_focused()) return;
        break;
    default:
        break;
    }
    if (game_state == STATE_TITLE) {
        if (ev.type == SDL_KEYDOWN || ev.type == SDL_MOUSEBUTTONDOWN ||
            ev.type == SDL_CONTROLLERBUTTONDOWN)
            start_intro();
        return;
    }
    switch (ev.type) {
    case SDL_KEYDOWN:
        if (chat_open)
            chat_handle_event(ev);
        else
            key_binding(ev.key.keysym.sym);
        break;
    case SDL_TEXTINPUT:
        if (chat_open) chat_handle_event(ev);
        break;
    case SDL_MOUSEMOTION:
        if (mouse_look) mouse_look_motion(ev.motion.xrel, ev.motion.yrel);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (ev.button.button != SDL_BUTTON_LEFT) break;
        if (chat_open)
            chat_handle_event(ev);
        else if (game_state == STATE_PLAY && mouse_look)
            toggle_nearest_door();
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        pad_button(ev.cbutton.button);
        break;
    default:
        break;
    }
}

void update_intro(uint32_t now) {
    IntroFrame f = intro_step(now, intro_start);
    if (f.done) {
        sys_show_cursor(0);
        next_state = STATE_PLAY;
    } else {
        next_state = STATE_INTRO;
    }
    sys_music_volume(f.music_volume);
}

void update_player(uint32_t now, double dt) {
    if (chat_open) return; // no motion, no head-bob change, no footstep
    PadMotion pad{};
    if (sys_window_focused()) {
        std::array<PadReading, MAX_PADS> pads{};
        pad = pad_motion(pads.data(), sys_pad_readings(pads.data(), MAX_PADS));
    }
    uint32_t interval = player_move(sys_move_keys(), dt, pad);
    if (interval && footstep_due(now, &last_step_tick, interval)) sys_play_step();
}

void dark_presence_check() {
    float level =
        cell_light_level(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
    if (level < DARK_LEVEL && flash_spring < DARK_FLASH_LIMIT &&
        std::rand() % 100 < DARK_PRESENCE_CHANCE)
        post_dark_presence();
}
