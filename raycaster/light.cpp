#include "light.h"
#include "config.h"
#include "flashlight.h"
#include "player.h"

#include <cmath>
#include <cstdint>

int dark_block(int bx, int by) {
    uint32_t h = (static_cast<uint32_t>(bx) * 73856093u) ^ (static_cast<uint32_t>(by) * 19349669u) ^
                 DARK_SALT;
    return h % 100 < DARK_SHARE;
}

// The steps mix single and double precision on purpose; the results must stay
// bit-identical, so keep every conversion where it is.
float cell_light_level(int x, int y) {
    double cx = x + 0.5, cy = y + 0.5;
    double sx = cx - START_X, sy = cy - START_Y;
    if (sx * sx + sy * sy < SPAWN_LIGHT_RADIUS_SQ) return 1.0f;

    float dark = 0.0f;
    int bx0 = x / DARK_BLOCK,
        by0 = y / DARK_BLOCK; // truncating: the 3x3 blocks still cover the reach
    for (int by = by0 - 1; by <= by0 + 1; by++)
        for (int bx = bx0 - 1; bx <= bx0 + 1; bx++) {
            if (!dark_block(bx, by)) continue;
            double dx = cx - (4.0 * bx + 2.0), dy = cy - (4.0 * by + 2.0);
            double d = std::sqrt(dx * dx + dy * dy);
            if (d >= DARK_REACH) continue;
            double v = 1.0 - d / DARK_REACH;
            if (v > dark) dark = static_cast<float>(v);
        }
    if (dark == 0.0f) return 1.0f;

    float level = 1.0f - dark;
    if (flash_spring > 0.5) {
        double dx = cx - px, dy = cy - py;
        double dist = std::sqrt(dx * dx + dy * dy);
        if (dist < FLASH_LIFT_RANGE && dist > 0.01) {
            double c = (dx * std::cos(pa) + dy * std::sin(pa)) / dist;
            if (c > FLASH_LIFT_CONE) {
                float f1 = static_cast<float>(1.0 - dist / FLASH_LIFT_RANGE) * 0.5f;
                float f2 = static_cast<float>(2.0 * (flash_spring - 0.5));
                level = level + (1.0f - level) * (f1 * f2);
            }
        }
    }
    return level;
}
