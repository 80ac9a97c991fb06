// Frame clock and the intro's ease curve: plain maths over tick counts.
#pragma once

#include <cstdint>

// Milliseconds from stamp to now; 0 when the stamp is later (taken during this
// frame's event handling, after the frame's own tick).
inline uint32_t elapsed_ms(uint32_t now, uint32_t stamp) {
    return stamp > now ? 0 : now - stamp;
}

// Frame time in seconds, capped so a stall moves nothing more than 0.05 s.
double frame_dt(uint32_t now, uint32_t prev);

// Intro progress t (0 at the start, 1 after 3.5 s) and its ease-in-out value.
double intro_progress(uint32_t now, uint32_t intro_start);
double intro_ease(double t);

struct IntroFrame {
    double e;         // eased progress, 1 in the last frame
    int done;         // the intro ends with this frame
    int music_volume; // 0..128
};

// The music's volume (0..128) at ramp e (0 silent, 1 full): the player's
// music volume of the full 128.
int music_level(double e);

// Where the intro's look ends: level, or the pitch a kept journey had.
extern double intro_end_pitch;

// Moves the camera (cam_pitch, cam_y) along the intro for tick `now`.
IntroFrame intro_step(uint32_t now, uint32_t intro_start);
