// A platform stand-in for tests: remembers what the game asked for.
#pragma once

#include "sys.h"

struct NullSys {
    uint32_t ticks = 0;
    int relative_mouse = 0;
    int cursor_shown = 1;
    int fullscreen = 0;
    int text_input = 0;
    int drawable_w = 960, drawable_h = 600;
    int window_w = 960, window_h = 600;
    int music_volume = -1;
    int effects_volume = -1;
    int steps_played = 0;
    int frames_presented = 0; // the frame stays in the back buffer
    int frames_kept = 0;      // screenshots asked for
    MoveKeys keys{};
    int focused = 1;
    PadReading pads[4]{}; // the first pad_count are connected
    int pad_count = 0;
    int pad_added = -1, pad_removed = -1; // last device index, last instance id
};

extern NullSys null_sys;
