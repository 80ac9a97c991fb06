// The few platform services the game logic needs. sys_sdl.cpp provides them
// over SDL; tests link stand-ins that record what was asked.
#pragma once

#include "pad.h"
#include "player.h"

#include <cstdint>
#include <vector>

uint32_t sys_ticks();
void sys_set_relative_mouse(int on);
void sys_show_cursor(int show);
void sys_set_fullscreen(int on); // desktop full screen on or off
int sys_is_fullscreen();
void sys_start_text_input();
void sys_stop_text_input();
void sys_drawable_size(int *w, int *h); // pixels of the GL drawable
void sys_window_size(int *w, int *h);   // window coordinates of mouse events
void sys_music_volume(int volume);      // 0..128
void sys_effects_volume(int volume);    // 0..128, every sound channel
void sys_play_step();
MoveKeys sys_move_keys(); // held keys of the bound actions, by physical position
void sys_present();       // shows the finished frame
// The next frame shown is also kept, as the window shows it, for
// sys_take_frame: rows top first, 3 bytes a pixel (RGB).
void sys_keep_next_frame();
int sys_take_frame(std::vector<unsigned char> *rgb, int *w, int *h); // 0: none kept

int sys_window_focused(); // 1 while the game's window has keyboard focus
// Controllers come and go with the device events: added gives a device
// index, removed an instance id. Every open one is read once a frame.
void sys_pad_added(int device_index);
void sys_pad_removed(int instance_id);
int sys_pad_readings(PadReading *out, int max); // how many were written

// A mouse position in window coordinates as drawable pixels, which differ
// on high-DPI displays.
inline void drawable_point(int x, int y, int *dx, int *dy) {
    int dw, dh, ww, wh;
    sys_drawable_size(&dw, &dh);
    sys_window_size(&ww, &wh);
    *dx = ww > 0 ? static_cast<int>(static_cast<long long>(x) * dw / ww) : x;
    *dy = wh > 0 ? static_cast<int>(static_cast<long long>(y) * dh / wh) : y;
}
