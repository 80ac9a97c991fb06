#include "game.h"
#include "bindings.h"
#include "chat_store.h"
#include "clock.h"
#include "config.h"
#include "flashlight.h"
#include "light.h"
#include "menu.h"
#include "player.h"
#include "settings.h"
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
double music_ramp = 0.0;
int frames_per_second = 0;

void game_reset(uint32_t now) {
    game_state = next_state = STATE_TITLE;
    quit_requested = false;
    intro_start = now;
    last_step_tick = 0;
    show_map = 0;
    mouse_look = 0;
    music_ramp = 0.0;
}

void start_intro() {
    intro_start = sys_ticks();
    game_state = STATE_INTRO;
    sys_set_relative_mouse(1);
    mouse_look = 1; // relative mode hides the cursor
}

void set_mouse_look(int on) {
    mouse_look = on;
    sys_set_relative_mouse(on);
    sys_show_cursor(on ? 0 : 1); // the cursor shows exactly while mouse look is off
}

// The windowed size is noted on the way into full screen: it is the size
// the next start opens at.
static void set_fullscreen(int on) {
    if (on == sys_is_fullscreen()) return;
    if (on) sys_window_size(&window_width, &window_height);
    sys_set_fullscreen(on);
    fullscreen = on;
}

// What a bound key or button does when pressed, in the intro and in play.
static void act(Action a) {
    switch (a) {
    case ACTION_FLASHLIGHT:
        flashlight_toggle();
        break;
    case ACTION_MAP:
        show_map ^= 1;
        break;
    case ACTION_CHAT:
        if (game_state == STATE_PLAY) chat_open_console();
        break;
    case ACTION_DOOR:
        if (game_state == STATE_PLAY) toggle_nearest_door();
        break;
    case ACTION_FULLSCREEN:
        set_fullscreen(!sys_is_fullscreen());
        break;
    case ACTION_MOUSE:
        set_mouse_look(!mouse_look);
        break;
    case ACTION_OPTIONS:
        menu_open_panel();
        break;
    default: // held actions are read every frame
        break;
    }
}

static bool opens_menu(const SDL_Event &ev) {
    if (ev.type == SDL_KEYDOWN)
        return !ev.key.repeat &&
               (ev.key.keysym.sym == MENU_KEY || key_is(ACTION_OPTIONS, ev.key.keysym));
    return ev.type == SDL_CONTROLLERBUTTONDOWN &&
           (ev.cbutton.button == MENU_BUTTON || ev.cbutton.button == action_pad[ACTION_OPTIONS]);
}

static void key_binding(const SDL_Keysym &key) {
    if (key.sym == SDLK_ESCAPE) {
        if (mouse_look)
            set_mouse_look(0);
        else
            quit_requested = true;
        return;
    }
    for (int a = 0; a < ACTION_COUNT; a++)
        if (!ACTIONS[a].held && key_is(static_cast<Action>(a), key)) act(static_cast<Action>(a));
}

// Buttons act when pressed; the d-pad, the stick click and the triggers are
// held controls that the player update reads every frame.
static void pad_button(int button) {
    if (chat_open) { // the chat line is typed; Start closes it as Esc does
        if (button == SDL_CONTROLLER_BUTTON_START) chat_close_console();
        return;
    }
    for (int a = 0; a < ACTION_COUNT; a++)
        if (!ACTIONS[a].held && action_pad[a] == button) act(static_cast<Action>(a));
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
    case SDL_CONTROLLERAXISMOTION:
        if (!sys_window_focused()) return;
        break;
    default:
        break;
    }
    if (menu_open) return menu_handle_event(ev);
    // The chat line takes O as text; Start closes it.
    if (!chat_open && opens_menu(ev)) return menu_open_panel();
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
            key_binding(ev.key.keysym);
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
    music_ramp = f.e;
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

void count_frame(uint32_t now) {
    static uint32_t second_start = now, frames = 0;
    frames++;
    if (elapsed_ms(now, second_start) >= 1000) {
        frames_per_second = static_cast<int>(frames);
        frames = 0;
        second_start = now;
    }
}

void hold_clocks(uint32_t ms) {
    intro_start += ms;
    for (uint32_t &t : chat_msg_times) t += ms;
}

void settings_apply() {
    sys_effects_volume(static_cast<int>(128 * (effects_volume / 100.0)));
    sys_music_volume(music_level(music_ramp));
    set_fullscreen(fullscreen);
}

void drawable_point(int x, int y, int *dx, int *dy) {
    int dw, dh, ww, wh;
    sys_drawable_size(&dw, &dh);
    sys_window_size(&ww, &wh);
    *dx = ww > 0 ? static_cast<int>(static_cast<long long>(x) * dw / ww) : x;
    *dy = wh > 0 ? static_cast<int>(static_cast<long long>(y) * dh / wh) : y;
}
