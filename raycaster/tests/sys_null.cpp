#include "sys_null.h"

NullSys null_sys;

uint32_t sys_ticks() {
    return null_sys.ticks;
}
void sys_set_relative_mouse(int on) {
    null_sys.relative_mouse = on;
}
void sys_show_cursor(int show) {
    null_sys.cursor_shown = show;
}
void sys_set_fullscreen(int on) {
    null_sys.fullscreen = on;
}
int sys_is_fullscreen() {
    return null_sys.fullscreen;
}
void sys_start_text_input() {
    null_sys.text_input = 1;
}
void sys_stop_text_input() {
    null_sys.text_input = 0;
}
void sys_drawable_size(int *w, int *h) {
    *w = null_sys.drawable_w;
    *h = null_sys.drawable_h;
}
void sys_window_size(int *w, int *h) {
    *w = null_sys.window_w;
    *h = null_sys.window_h;
}
void sys_music_volume(int volume) {
    null_sys.music_volume = volume;
}
void sys_effects_volume(int volume) {
    null_sys.effects_volume = volume;
}
void sys_play_step() {
    null_sys.steps_played++;
}
MoveKeys sys_move_keys() {
    return null_sys.keys;
}
int sys_window_focused() {
    return null_sys.focused;
}
void sys_pad_added(int device_index) {
    null_sys.pad_added = device_index;
}
void sys_pad_removed(int instance_id) {
    null_sys.pad_removed = instance_id;
}
int sys_pad_readings(PadReading *out, int max) {
    int n = null_sys.pad_count < max ? null_sys.pad_count : max;
    for (int i = 0; i < n; i++) out[i] = null_sys.pads[i];
    return n;
}
void sys_present() {
    null_sys.frames_presented++;
}

void sys_keep_next_frame() {
    null_sys.frames_kept++;
}

int sys_take_frame(std::vector<unsigned char> *, int *, int *) {
    return 0;
}
