// Distance fields of circles, segments, rounded boxes and polygons.
#include "shapes.h"

#include <algorithm>
#include <cmath>

float sd_circle(Vec2 p, Vec2 centre, float radius) {
    return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

float sd_segment(Vec2 p, Vec2 a, Vec2 b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0f, 1.0f) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

float sd_box(Vec2 p, Vec2 centre, Vec2 half, float corner_radius) {
    float qx = std::fabs(p.x - centre.x) - half.x + corner_radius;
    float qy = std::fabs(p.y - centre.y) - half.y + corner_radius;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - corner_radius;
}

float sd_polygon(Vec2 p, const Vec2 *pts, int count) {
    float best = 1e30f;
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        best = std::min(best, sd_segment(p, pts[j], pts[i]));
        // Even-odd crossing test of a ray towards +x.
        if ((pts[i].y > p.y) != (pts[j].y > p.y) &&
            p.x < pts[j].x + (pts[i].x - pts[j].x) * (p.y - pts[j].y) / (pts[i].y - pts[j].y))
            inside = !inside;
    }
    return inside ? -best : best;
}

float coverage(float sd) {
    return std::clamp(0.5f - sd, 0.0f, 1.0f);
}

static int wrap(int v, int n) {
    return ((v % n) + n) % n;
}

BondSpot running_bond(Vec2 p, int unit_w, int unit_h, int size, float joint_half, float corner) {
    const int rows = size / unit_h, columns = size / unit_w;
    int row = static_cast<int>(std::floor(p.y / unit_h));
    float ly = p.y - static_cast<float>(row * unit_h);
    row = wrap(row, rows);
    float sx = p.x - (row % 2 ? unit_w / 2 : 0);
    int column = static_cast<int>(std::floor(sx / unit_w));
    float lx = sx - static_cast<float>(column * unit_w);
    column = wrap(column, columns);
    Vec2 half = {unit_w / 2.0f - joint_half, unit_h / 2.0f - joint_half};
    float sd = sd_box({lx, ly}, {unit_w / 2.0f, unit_h / 2.0f}, half, corner);
    return {row * columns + column, -sd, lx, ly};
}
