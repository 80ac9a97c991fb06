#include "clock.h"
#include "config.h"
#include "player.h"
#include "settings.h"

double frame_dt(uint32_t now, uint32_t prev) {
    double dt = static_cast<uint32_t>(now - prev) / 1000.0;
    return dt > MAX_FRAME_DT ? MAX_FRAME_DT : dt;
}

double intro_progress(uint32_t now, uint32_t intro_start) {
    return elapsed_ms(now, intro_start) / 1000.0 / INTRO_SECONDS;
}

double intro_ease(double t) {
    if (t < 0.5) return 2.0 * t * t;
    double u = 2.0 - 2.0 * t;
    return 1.0 - u * u / 2.0;
}

double intro_end_pitch = 0.0;

IntroFrame intro_step(uint32_t now, uint32_t intro_start) {
    double t = intro_progress(now, intro_start);
    IntroFrame f{};
    if (t >= 1.0) {
        f.e = 1.0;
        f.done = 1;
    } else {
        f.e = intro_ease(t);
    }
    cam_pitch = INTRO_START_PITCH * (1.0 - f.e) + intro_end_pitch * f.e;
    cam_y = INTRO_START_EYE + (EYE_HEIGHT - INTRO_START_EYE) * f.e;
    f.music_volume = music_level(f.e);
    return f;
}

int music_level(double e) {
    return static_cast<int>(e * 128 * (music_volume / 100.0));
}
