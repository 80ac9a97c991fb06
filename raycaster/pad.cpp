#include "pad.h"
#include "bindings.h"
#include "config.h"
#include "settings.h"

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

static int held(const PadReading &p, Action a) {
    int b = action_pad[a];
    return b >= 0 && b < 32 && (p.buttons >> b & 1u);
}

PadMotion pad_motion(const PadReading *pads, int count) {
    PadMotion m{};
    double tilt = invert_pad_y ? -pad_look_speed : pad_look_speed;
    for (int i = 0; i < count; i++) {
        const PadReading &p = pads[i];
        Stick left = pad_stick(p.left_x, p.left_y), right = pad_stick(p.right_x, p.right_y);
        m.forward += -left.y + held(p, ACTION_FORWARD) - held(p, ACTION_BACK);
        m.strafe += left.x + held(p, ACTION_STRAFE_RIGHT) - held(p, ACTION_STRAFE_LEFT);
        m.turn += held(p, ACTION_TURN_RIGHT) - held(p, ACTION_TURN_LEFT);
        m.look += right.x * pad_look_speed;
        m.pitch -= right.y * tilt;
        if (held(p, ACTION_SPRINT) || axis_unit(p.left_trigger) > PAD_TRIGGER_PRESS)
            m.sprint = true;
    }
    return m;
}
