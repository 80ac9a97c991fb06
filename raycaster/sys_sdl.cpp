// The platform services over SDL and SDL_mixer.
#include "sys.h"
#include "config.h"
#include "scene.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
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

void sys_toggle_fullscreen() {
    if (SDL_GetWindowFlags(win) & SDL_WINDOW_FULLSCREEN_DESKTOP)
        SDL_SetWindowFullscreen(win, 0);
    else
        SDL_SetWindowFullscreen(win, SDL_WINDOW_FULLSCREEN_DESKTOP);
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

void sys_play_step() {
    if (snd_step) Mix_PlayChannel(-1, snd_step, 0);
}

MoveKeys sys_move_keys() {
    const Uint8 *k = SDL_GetKeyboardState(nullptr);
    MoveKeys m{};
    m.forward = k[SDL_SCANCODE_W] || k[SDL_SCANCODE_UP];
    m.back = k[SDL_SCANCODE_S] || k[SDL_SCANCODE_DOWN];
    m.strafe_left = k[SDL_SCANCODE_A];
    m.strafe_right = k[SDL_SCANCODE_D];
    m.turn_left = k[SDL_SCANCODE_LEFT];
    m.turn_right = k[SDL_SCANCODE_RIGHT];
    m.sprint = k[SDL_SCANCODE_LSHIFT] || k[SDL_SCANCODE_RSHIFT];
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
        r.left_stick = SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_LEFTSTICK);
        r.dpad_up = SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_UP);
        r.dpad_down = SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        r.dpad_left = SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        r.dpad_right = SDL_GameControllerGetButton(p, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    }
    return n;
}

void sys_present() {
    SDL_GL_SwapWindow(win);
}
