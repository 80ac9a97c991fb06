// Icon and cursor drawn from distance fields, 4x4 supersampled for smooth
// edges and alpha.
#include "icons.h"

#include "config.h"
#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

constexpr int SUBSAMPLES = 4;

// Colour and coverage of one point of the icon.
static Rgba icon_point(Vec2 p) {
    const float size = ICON_SIZE;
    float tile = sd_box(p, {size / 2, size / 2}, {size / 2 - 1, size / 2 - 1}, size * 0.19f);
    if (tile > 0) return {0, 0, 0, 0};
    const Rgba edge_blue = {0.55f, 0.82f, 1.0f, 1};

    // Corridor frames shrink by `ratio` per step towards the vanishing point;
    // q tells how far along the corridor a point lies (1 at the mouth).
    const Vec2 vp = {size / 2, size * 0.53f};
    const float half_w = size * 0.40f, half_h = size * 0.36f, ratio = 0.6f;
    float qx = std::fabs(p.x - vp.x) / half_w, qy = std::fabs(p.y - vp.y) / half_h;
    float q = std::max(qx, qy);
    float depth = std::log(std::max(q, 1e-4f)) / std::log(ratio); // 0 at the mouth
    Rgba c;
    if (q > 1.0f) {
        c = mix(rgb(0.09f, 0.12f, 0.19f), rgb(0.05f, 0.06f, 0.1f), p.y / size);
    } else {
        float fade = std::exp(-0.55f * depth);
        Rgba surface = qx > qy ? rgb(0.55f, 0.25f, 0.17f)                 // walls
                               : (p.y > vp.y ? rgb(0.3f, 0.29f, 0.28f)    // floor
                                             : rgb(0.17f, 0.15f, 0.14f)); // ceiling
        c = scale(surface, fade);
        // Light blue edges: each frame, and the corners running inwards.
        float frame_px = std::fabs(depth - std::round(depth)) * q * half_w * 0.5f;
        float corner_px = std::fabs(qx - qy) * std::min(half_w, half_h) * 0.7f;
        float line = std::max(coverage(frame_px - 0.6f), coverage(corner_px - 0.5f));
        c = mix(c, scale(edge_blue, 0.35f + 0.65f * fade), line);
    }
    // The light at the end of the corridor.
    float glow = std::exp(-std::pow(std::hypot(p.x - vp.x, p.y - vp.y) / 4.0f, 2.0f));
    c = mix(c, rgb(0.85f, 0.95f, 1.0f), glow);
    // Rim of the tile.
    c = mix(c, edge_blue, coverage(std::fabs(tile + 1.2f) - 0.7f) * 0.8f);
    return c;
}

static Rgba cursor_point(Vec2 p) {
    // Tip at (1, 1): the 1.4 px outline outside the shape covers pixel (0, 0).
    static constexpr std::array<Vec2, 7> arrow = {{{1, 1},
                                                   {1, 22},
                                                   {6, 17.2f},
                                                   {9.8f, 25.8f},
                                                   {13.2f, 24.3f},
                                                   {9.6f, 15.8f},
                                                   {16.2f, 15.8f}}};
    float d = sd_polygon(p, arrow.data(), static_cast<int>(arrow.size()));
    if (d > 1.4f) return {0, 0, 0, 0};
    if (d > 0) return {0, 0, 0, 1};
    float shade = 1.0f - 0.12f * p.y / CURSOR_SIZE;
    return rgb(shade, shade, shade);
}

// Averages the colour of the covered subsamples; alpha is their share.
template <typename Shader> static Image render(int size, Shader shader) {
    Image img = image_make(size, size, {0, 0, 0, 0});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba sum = {0, 0, 0, 0};
            for (int sy = 0; sy < SUBSAMPLES; ++sy)
                for (int sx = 0; sx < SUBSAMPLES; ++sx) {
                    Rgba c =
                        shader(Vec2{x + (sx + 0.5f) / SUBSAMPLES, y + (sy + 0.5f) / SUBSAMPLES});
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            if (sum.a > 0)
                pixel(img, x, y) = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a,
                                    sum.a / (SUBSAMPLES * SUBSAMPLES)};
        }
    return img;
}

Image window_icon(int size) {
    const float to_drawing = static_cast<float>(ICON_SIZE) / static_cast<float>(size);
    return render(size, [to_drawing](Vec2 p) {
        return icon_point(Vec2{p.x * to_drawing, p.y * to_drawing});
    });
}
Image arrow_cursor() {
    return render(CURSOR_SIZE, cursor_point);
}
