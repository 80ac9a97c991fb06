// The platform services over SDL and SDL_mixer.
#include "sys.h"
#include "scene.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

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

void sys_present() {
    SDL_GL_SwapWindow(win);
}
