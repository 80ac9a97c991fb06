// Fixed views of the maze shared by the frame benchmark and the test that
// holds the batched scene passes to the straightforward ones.
#pragma once

#include "flashlight.h"
#include "player.h"
#include "world.h"

#include <cmath>

struct FrameView {
    const char *name;
    double x, y, heading, pitch, flash;
    int fill_cache; // cache 512 chunks around the view first
};

inline const FrameView FRAME_VIEWS[] = {
    {"spawn", 3.5, 2.5, 0.0, 0.0, 0.0, 0},
    {"pillar room", 12.5, 16.5, 0.6, 0.0, 0.0, 0},
    {"long corridor", 1.5, 16.5, 0.0, 0.0, 0.0, 0},
    {"looking up", 12.5, 16.5, 2.0, 1.2, 0.0, 0},
    {"looking down", 12.5, 16.5, 4.0, -1.2, 0.0, 0},
    {"door ahead", 12.5, 11.5, 0.0, 0.0, 0.0, 0},
    {"secret wall", -4.5, 7.5, 0.0, 0.0, 0.0, 0},
    {"dark, flashlight on", 12.5, 1.5, 0.2, -0.1, 1.0, 0},
    {"dark, flashlight off", 12.5, 1.5, 0.2, -0.1, 0.0, 0},
    {"wall ahead, lit, off", 4.5, 3.5, -M_PI / 2, 0.0, 0.0, 0},
    {"wall ahead, lit, on", 4.5, 3.5, -M_PI / 2, 0.0, 1.0, 0},
    {"wall ahead, dark, off", 21.5, 9.5, 0.0, 0.0, 0.0, 0},
    {"wall ahead, dark, on", 21.5, 9.5, 0.0, 0.0, 1.0, 0},
    {"full cache", 262.5, 263.5, 0.9, 0.0, 1.0, 1},
};

// Caches 512 chunks in a square around the view's chunk, nearest rows first.
inline void fill_cache_around(int cx, int cy) {
    for (int r = 0; chunk_count < MAX_CHUNKS; r++)
        for (int j = -r; j <= r && chunk_count < MAX_CHUNKS; j++)
            for (int i = -r; i <= r && chunk_count < MAX_CHUNKS; i++)
                if (std::abs(i) == r || std::abs(j) == r)
                    world_cell((cx + i) * CHUNK_SIZE, (cy + j) * CHUNK_SIZE);
}

inline void place_view(const FrameView &v) {
    if (v.fill_cache)
        fill_cache_around(chunk_of(static_cast<int>(v.x)), chunk_of(static_cast<int>(v.y)));
    px = v.x;
    py = v.y;
    pa = 0;
    player_rotate(v.heading);
    cam_pitch = v.pitch;
    cam_y = 0.5;
    bob_t = 0;
    flash_spring = v.flash;
}
