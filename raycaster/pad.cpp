#include "pad.h"
#include "config.h"

#include <algorithm>
#include <cmath>

static double axis_unit(int16_t v) {
    return std::max(v / 32767.0, -1.0); // -32768 is one step beyond full
}

Stick pad_stick(int16_t x, int16_t y) {
    double ux = axis_unit(x), uy = axis_unit(y);
    double len = std::hypot(ux, uy);
    if (len <= PAD_DEAD_ZONE) return {0.0, 0.0};
    // Square-ish sticks report corners past 1; the length stops there.
    double k = (std::min(len, 1.0) - PAD_DEAD_ZONE) / (1.0 - PAD_DEAD_ZONE) / len;
    return {ux * k, uy * k};
}

PadMotion pad_motion(const PadReading *pads, int count) {
    PadMotion m{};
    for (int i = 0; i < count; i++) {
        const PadReading &p = pads[i];
        Stick left = pad_stick(p.left_x, p.left_y), right = pad_stick(p.right_x, p.right_y);
        m.forward += -left.y + p.dpad_up - p.dpad_down;
        m.strafe += left.x;
        m.turn += right.x + p.dpad_right - p.dpad_left;
        m.pitch -= right.y;
        if (p.left_stick || axis_unit(p.left_trigger) > PAD_TRIGGER_PRESS) m.sprint = true;
    }
    return m;
}
