#include "game.h"
#include "bindings.h"
#include "chat_store.h"
#include "clock.h"
#include "config.h"
#include "flashlight.h"
#include "journey_file.h"
#include "journey_map.h"
#include "light.h"
#include "menu.h"
#include "player.h"
#include "settings.h"
#include "sys.h"
#include "title.h"

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
std::string notice;
int notice_is_error = 0;
uint32_t notice_at = 0;

namespace {

int mouse_look_before_page = 0; // when the menu or the map opened
uint32_t map_opened_at = 0;
uint32_t since_write_ms = 0; // play since the journey was last written
std::string menu_warning;    // said by the menu the first time it opens

int cell(double v) {
    return static_cast<int>(std::floor(v));
}

JourneyPlace place_now() {
    // During the intro the look is still on its way to where it ends.
    return {px, py, pa, game_state == STATE_INTRO ? intro_end_pitch : cam_pitch, flashlight_on};
}

// The windowed size is noted on the way into full screen: it is the size
// the next start opens at.
void set_fullscreen(int on) {
    if (on == sys_is_fullscreen()) return;
    if (on) sys_window_size(&window_width, &window_height);
    sys_set_fullscreen(on);
    fullscreen = on;
}

void open_map() {
    if (map_open || game_state == STATE_TITLE) return;
    journey_write();
    map_open_at(px, py, px, py);
    map_opened_at = sys_ticks();
    mouse_look_before_page = mouse_look;
    set_mouse_look(0);
}

void map_closed() {
    hold_clocks(elapsed_ms(sys_ticks(), map_opened_at));
    set_mouse_look(mouse_look_before_page);
}

void menu_chose(int chosen) {
    if (chosen & MENU_APPLY) settings_apply();
    if (chosen & MENU_CLOSED) {
        hold_clocks(elapsed_ms(sys_ticks(), menu_opened_at));
        set_mouse_look(mouse_look_before_page);
    }
    if (chosen & MENU_QUIT) quit_requested = true;
}

void toggle_marker() {
    int r = journey_toggle_marker(cell(px), cell(py));
    if (r == MARKERS_FULL) return say_notice("The marker list is full (100 markers)", 0);
    const Marker *m = r == MARKER_SET ? &markers[marker_count - 1] : nullptr;
    say_notice(m ? "Marker " + std::to_string(m->number) + " set" : "Marker taken away", 0);
}

void open_chat() {
    chat_mouse_look_saved = mouse_look;
    set_mouse_look(0);
    chat_open_console();
}

void close_chat() {
    chat_close_console();
    set_mouse_look(chat_mouse_look_saved);
}

// What a bound key or button does when pressed, in the intro and in play.
void act(Action a) {
    switch (a) {
    case ACTION_FLASHLIGHT:
        flashlight_toggle();
        break;
    case ACTION_MAP:
        show_map ^= 1;
        break;
    case ACTION_CHAT:
        if (game_state == STATE_PLAY) open_chat();
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
    case ACTION_JOURNEY_MAP:
        open_map();
        break;
    case ACTION_MARKER:
        if (game_state == STATE_PLAY) toggle_marker();
        break;
    case ACTION_OPTIONS:
        open_menu();
        break;
    default: // held actions are read every frame; the screenshot before them
        break;
    }
}

bool opens_menu(const SDL_Event &ev) {
    if (ev.type == SDL_KEYDOWN)
        return !ev.key.repeat &&
               (ev.key.keysym.sym == MENU_KEY || key_is(ACTION_OPTIONS, ev.key.keysym));
    return ev.type == SDL_CONTROLLERBUTTONDOWN &&
           (ev.cbutton.button == MENU_BUTTON || ev.cbutton.button == action_pad[ACTION_OPTIONS]);
}

// In every state but the menu's, the picture is taken of the frame drawn next.
bool takes_screenshot(const SDL_Event &ev) {
    if (ev.type == SDL_KEYDOWN) return !ev.key.repeat && key_is(ACTION_SCREENSHOT, ev.key.keysym);
    return ev.type == SDL_CONTROLLERBUTTONDOWN && action_pad[ACTION_SCREENSHOT] != NO_BUTTON &&
           ev.cbutton.button == action_pad[ACTION_SCREENSHOT];
}

void key_binding(const SDL_Keysym &key) {
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
void pad_button(int button) {
    if (chat_open) { // the chat line is typed; Start closes it as Esc does
        if (button == SDL_CONTROLLER_BUTTON_START) close_chat();
        return;
    }
    for (int a = 0; a < ACTION_COUNT; a++)
        if (!ACTIONS[a].held && action_pad[a] == button) act(static_cast<Action>(a));
}

void new_journey() {
    journey_reset(cell(px), cell(py)); // the spawn
    start_intro();
}

// The kept place, or the nearest free cell when a wall or a closed door
// now stands there; the spawn when nothing near is free.
void continue_journey() {
    const JourneyPlace &p = journey_saved_place;
    double x, y;
    if (free_place_near(p.x, p.y, &x, &y)) {
        px = x;
        py = y;
    }
    pa = p.heading;
    player_rotate(0);
    intro_end_pitch = p.pitch;
    flashlight_on = p.flashlight;
    flash_spring = flashlight_on ? 1.0 : 0.0;
    flash_vel = 0;
    start_intro();
}

void title_chose(TitleChoice c) {
    if (c == TITLE_NEW || (c == TITLE_CONTINUE && !journey_found)) new_journey();
    if (c == TITLE_CONTINUE && journey_found) continue_journey();
}

void window_event(const SDL_WindowEvent &w) {
    map_changed = 1; // shown again, resized, uncovered: the map is drawn anew
    switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (mute_unfocused) {
            sys_music_volume(0);
            sys_effects_volume(0);
        }
        if (pause_unfocused && game_state != STATE_TITLE && !map_open) {
            if (chat_open) close_chat();
            open_menu();
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (mute_unfocused) settings_apply();
        break;
    default:
        break;
    }
}

} // namespace

void say_notice(const std::string &text, int error) {
    notice = text;
    notice_is_error = error;
    notice_at = sys_ticks();
}

void game_reset(uint32_t now) {
    game_state = next_state = STATE_TITLE;
    quit_requested = false;
    intro_start = now;
    last_step_tick = 0;
    show_map = 0;
    mouse_look = 0;
    music_ramp = 0.0;
    map_open = 0;
    notice.clear();
    since_write_ms = 0;
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

void open_menu() {
    if (menu_open) return;
    journey_write();
    menu_open_panel();
    mouse_look_before_page = mouse_look;
    set_mouse_look(0);
    if (!menu_warning.empty()) menu_say(menu_warning, 1);
    menu_warning.clear();
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
    case SDL_WINDOWEVENT:
        return window_event(ev.window);
    default:
        break;
    }
    if (menu_open) return menu_chose(menu_handle_event(ev));
    if (map_open) {
        if (map_handle_event(ev)) map_closed();
        return;
    }
    // The chat line takes O as text; Start closes it.
    if (!chat_open && opens_menu(ev)) return open_menu();
    if (!chat_open && takes_screenshot(ev)) return sys_keep_next_frame();
    if (game_state == STATE_TITLE) {
        int w, h;
        sys_drawable_size(&w, &h);
        return title_chose(title_handle_event(ev, w, h));
    }
    switch (ev.type) {
    case SDL_KEYDOWN:
        if (!chat_open)
            key_binding(ev.key.keysym);
        else if (chat_handle_event(ev))
            set_mouse_look(chat_mouse_look_saved);
        break;
    case SDL_TEXTINPUT:
        if (chat_open) chat_handle_event(ev);
        break;
    case SDL_MOUSEMOTION:
        if (mouse_look) mouse_look_motion(ev.motion.xrel, ev.motion.yrel);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (ev.button.button != SDL_BUTTON_LEFT) break;
        if (chat_open) {
            if (chat_handle_event(ev)) set_mouse_look(chat_mouse_look_saved);
        } else if (game_state == STATE_PLAY && mouse_look) {
            toggle_nearest_door();
        }
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
    double x0 = px, y0 = py;
    uint32_t interval = player_move(sys_move_keys(), dt, pad);
    journey_walk(x0, y0, px, py);
    if (interval && footstep_due(now, &last_step_tick, interval)) sys_play_step();
}

void dark_presence_check() {
    float level = cell_light_level(cell(px), cell(py));
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
    notice_at += ms;
}

void journey_start(std::string *warning) {
    journey_load(warning);
    menu_warning = *warning;
    title_reset(journey_found);
    if (!journey_found) journey_reset(cell(px), cell(py));
}

void journey_frame(uint32_t ms) {
    journey_seconds += ms / 1000.0;
    since_write_ms += ms;
    if (since_write_ms >= AUTOSAVE_MS) journey_write();
}

void journey_write() {
    if (game_state == STATE_TITLE) return;
    since_write_ms = 0;
    std::string message;
    if (!journey_save(place_now(), &message)) say_notice(message, 1);
}

void window_hidden() {
    journey_write();
}

void settings_apply() {
    sys_effects_volume(static_cast<int>(128 * (effects_volume / 100.0)));
    sys_music_volume(music_level(music_ramp));
    set_fullscreen(fullscreen);
}
