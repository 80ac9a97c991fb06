// The platform services over SDL and SDL_mixer.
#include "sys.h"
#include "bindings.h"
#include "config.h"
#include "scene.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <SDL2/SDL_opengl.h>
#include <algorithm>
#include <array>

Mix_Chunk *snd_step = nullptr;

uint32_t sys_ticks() {
    return SDL_GetTicks();
}
void sys_set_relative_mouse(int on) {
    SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
}
void sys_show_cursor(int show) {
    SDL_ShowCursor(show);
}

int sys_is_fullscreen() {
    return (SDL_GetWindowFlags(win) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void sys_set_fullscreen(int on) {
    SDL_SetWindowFullscreen(win, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void sys_start_text_input() {
    SDL_StartTextInput();
}
void sys_stop_text_input() {
    SDL_StopTextInput();
}
void sys_drawable_size(int *w, int *h) {
    SDL_GL_GetDrawableSize(win, w, h);
}
void sys_window_size(int *w, int *h) {
    SDL_GetWindowSize(win, w, h);
}
void sys_music_volume(int volume) {
    Mix_VolumeMusic(volume);
}
void sys_effects_volume(int volume) {
    Mix_Volume(-1, volume);
}

void sys_play_step() {
    if (snd_step) Mix_PlayChannel(-1, snd_step, 0);
}

MoveKeys sys_move_keys() {
    int count = 0;
    const Uint8 *k = SDL_GetKeyboardState(&count);
    auto held = [&](Action a) {
        for (int code : action_keys[a])
            if (code > 0 && code < count && k[code]) return true;
        return false;
    };
    MoveKeys m{};
    m.forward = held(ACTION_FORWARD);
    m.back = held(ACTION_BACK);
    m.strafe_left = held(ACTION_STRAFE_LEFT);
    m.strafe_right = held(ACTION_STRAFE_RIGHT);
    m.turn_left = held(ACTION_TURN_LEFT);
    m.turn_right = held(ACTION_TURN_RIGHT);
    m.sprint = held(ACTION_SPRINT);
    return m;
}

int sys_window_focused() {
    return (SDL_GetWindowFlags(win) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

// Open controllers; null slots are free.
static std::array<SDL_GameController *, MAX_PADS> pads{};

void sys_pad_added(int device_index) {
    if (!SDL_IsGameController(device_index)) return;
    // SDL announces pads present at start-up too; opening one twice would
    // need two closes.
    if (SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(device_index))) return;
    for (SDL_GameController *&slot : pads)
        if (!slot) {
            slot = SDL_GameControllerOpen(device_index);
            return;
        }
}

void sys_pad_removed(int instance_id) {
    SDL_GameController *gone = SDL_GameControllerFromInstanceID(instance_id);
    for (SDL_GameController *&slot : pads)
        if (slot && slot == gone) {
            SDL_GameControllerClose(slot);
            slot = nullptr;
        }
}

int sys_pad_readings(PadReading *out, int max) {
    int n = 0;
    for (SDL_GameController *p : pads) {
        if (!p || n == max) continue;
        PadReading &r = out[n++];
        r.left_x = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_LEFTX);
        r.left_y = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_LEFTY);
        r.right_x = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_RIGHTX);
        r.right_y = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_RIGHTY);
        r.left_trigger = SDL_GameControllerGetAxis(p, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
        r.buttons = 0;
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++)
            if (SDL_GameControllerGetButton(p, static_cast<SDL_GameControllerButton>(b)))
                r.buttons |= 1u << b;
    }
    return n;
}

namespace {
int keep_next = 0;
std::vector<unsigned char> kept;
int kept_w = 0, kept_h = 0;
} // namespace

void sys_keep_next_frame() {
    keep_next = 1;
}

// Read from the finished back buffer just before it is shown, so the
// picture is the frame the player sees and nothing drawn after it.
void sys_present() {
    if (keep_next) {
        keep_next = 0;
        SDL_GL_GetDrawableSize(win, &kept_w, &kept_h);
        std::vector<unsigned char> rows(static_cast<size_t>(kept_w) * kept_h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, kept_w, kept_h, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
        kept.resize(rows.size());
        size_t row = static_cast<size_t>(kept_w) * 3;
        for (int y = 0; y < kept_h; y++) // GL counts rows from the bottom
            std::copy_n(&rows[(kept_h - 1 - y) * row], row, &kept[y * row]);
    }
    SDL_GL_SwapWindow(win);
}

int sys_take_frame(std::vector<unsigned char> *rgb, int *w, int *h) {
    if (kept.empty()) return 0;
    rgb->swap(kept);
    kept.clear();
    *w = kept_w;
    *h = kept_h;
    return 1;
}
