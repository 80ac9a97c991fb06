// A small ray tracer over a hand-drawn grid: walls by grid stepping, floor
// and ceiling as planes, nearest-texel sampling like the game, a spot light
// at the eye, a shadowed lamp, distance fog and a vignette; supersampled.
#include "backdrop.h"

#include "config.h"
#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace {

// '#' wall, '.' open. The eye looks east down row 8; the lamp waits round
// the corner of the cross corridor at column 13.
constexpr std::array<std::string_view, 16> MAP = {
    "################", "################", "################", "################",
    "#######.#####.##", "####.##.#####.##", "####.##.#####.##", "####.##.#####.##",
    "#.............##", "####.########.##", "####.########.##", "#############.##",
    "#############.##", "################", "################", "################"};

struct Vec3 {
    float x, y, h; // map x, map y, height above the floor
};

constexpr Vec3 EYE = {0.6f, 8.5f, 0.5f};
constexpr Vec3 LAMP = {13.15f, 6.2f, 0.75f};
constexpr Rgba LAMP_COLOUR = {1.6f, 0.95f, 0.5f, 1};
constexpr Rgba TORCH_COLOUR = {1.0f, 0.93f, 0.78f, 1};
constexpr float FOG = 0.065f;

bool solid(int x, int y) {
    if (x < 0 || y < 0 || x >= 16 || y >= 16) return true;
    return MAP[y][x] == '#';
}

// Texel of a tiling image at tile coordinates (s, t), both wrapping at 1.
Rgba texel(const Image &img, float s, float t) {
    int x = static_cast<int>(std::floor(s * img.w)), y = static_cast<int>(std::floor(t * img.h));
    return pixel_wrap(img, x, y);
}

struct GridHit {
    float t;     // ray parameter of the first wall met, 1e9 if none
    bool x_face; // the wall face lies in a plane x = const
    int step_x, step_y;
};

// Walks the grid cell by cell from (x, y) along (dx, dy) to the first wall.
GridHit grid_hit(float x, float y, float dx, float dy) {
    int mx = static_cast<int>(std::floor(x)), my = static_cast<int>(std::floor(y));
    float delta_x = dx != 0 ? std::fabs(1.0f / dx) : 1e9f;
    float delta_y = dy != 0 ? std::fabs(1.0f / dy) : 1e9f;
    GridHit hit = {1e9f, false, dx < 0 ? -1 : 1, dy < 0 ? -1 : 1};
    float side_x = (dx < 0 ? x - mx : mx + 1.0f - x) * delta_x;
    float side_y = (dy < 0 ? y - my : my + 1.0f - y) * delta_y;
    for (int i = 0; i < 64; ++i) {
        if (side_x < side_y) {
            mx += hit.step_x;
            if (solid(mx, my)) {
                hit.t = side_x;
                hit.x_face = true;
                return hit;
            }
            side_x += delta_x;
        } else {
            my += hit.step_y;
            if (solid(mx, my)) {
                hit.t = side_y;
                return hit;
            }
            side_y += delta_y;
        }
    }
    return hit;
}

bool lamp_visible(Vec3 from) {
    return grid_hit(from.x, from.y, LAMP.x - from.x, LAMP.y - from.y).t >= 1.0f;
}

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.h * b.h;
}

Vec3 minus(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.h - b.h};
}

void add_light(Rgba &total, Rgba colour, float amount) {
    total.r += colour.r * amount;
    total.g += colour.g * amount;
    total.b += colour.b * amount;
}

// Light arriving at a surface point with normal n, seen along view ray dir.
Rgba light_at(Vec3 p, Vec3 n, Vec3 dir) {
    Rgba total = rgb(0.07f, 0.075f, 0.095f);
    // Flashlight at the eye: a soft cone about the view axis (+x).
    Vec3 to_eye = minus(EYE, p);
    float d = std::sqrt(dot(to_eye, to_eye));
    float lambert = std::max(0.0f, dot(n, to_eye) / d);
    float cone = smoothstep(0.8f, 0.97f, dir.x / std::sqrt(dot(dir, dir)));
    add_light(total, TORCH_COLOUR, lambert * (0.3f + 0.7f * cone) * 3.2f / (1.0f + 0.12f * d * d));

    if (lamp_visible({p.x + n.x * 0.01f, p.y + n.y * 0.01f, p.h + n.h * 0.01f})) {
        Vec3 to_lamp = minus(LAMP, p);
        float dl = std::sqrt(dot(to_lamp, to_lamp));
        float lit = std::max(0.0f, dot(n, to_lamp) / dl);
        add_light(total, LAMP_COLOUR, lit * 14.0f / (1.0f + 0.8f * dl * dl));
    }
    return total;
}

Rgba trace(Vec3 dir, const Image &wall, const Image &floor, const Image &ceiling) {
    // Floor or ceiling plane first; a wall nearer than it wins.
    float t_plane = 1e9f;
    Vec3 plane_n = {0, 0, 1};
    if (dir.h < 0) t_plane = -EYE.h / dir.h;
    if (dir.h > 0) {
        t_plane = (1.0f - EYE.h) / dir.h;
        plane_n = {0, 0, -1};
    }

    GridHit hit = grid_hit(EYE.x, EYE.y, dir.x, dir.y);
    float t_wall = hit.t;
    float t = std::min(t_wall, t_plane);
    Vec3 p = {EYE.x + dir.x * t, EYE.y + dir.y * t, EYE.h + dir.h * t};
    Rgba albedo;
    Vec3 n;
    if (t_wall < t_plane) {
        n = hit.x_face ? Vec3{static_cast<float>(-hit.step_x), 0, 0}
                       : Vec3{0, static_cast<float>(-hit.step_y), 0};
        float along = hit.x_face ? p.y : p.x;
        albedo = texel(wall, along - std::floor(along), 1.0f - p.h);
        // Walls darken towards the top, as in the game.
        albedo = scale(albedo, 0.45f + 0.55f * (1.0f - p.h));
    } else if (plane_n.h > 0) {
        n = plane_n;
        albedo = texel(floor, p.x * 4.0f, p.y * 4.0f);
    } else {
        n = plane_n;
        albedo = texel(ceiling, p.x * 2.0f, p.y * 2.0f);
    }
    Rgba lit = light_at(p, n, dir);
    float dist = t * std::sqrt(dot(dir, dir));
    float fog = std::exp(-FOG * dist);
    return {albedo.r * lit.r * fog, albedo.g * lit.g * fog, albedo.b * lit.b * fog, 1};
}

// Keeps the lamp's hot spot from clipping while leaving the darks alone.
float tone_map(float v) {
    return v / (1.0f + 0.6f * v) * 1.35f;
}

} // namespace

Image backdrop(const Image &wall, const Image &floor, const Image &ceiling) {
    const int ss = BACKDROP_SUPERSAMPLE;
    const float tan_half = 0.57735027f; // 60 degrees vertical, as in the game
    const float aspect = static_cast<float>(BACKDROP_W) / BACKDROP_H;
    Image img = image_make(BACKDROP_W, BACKDROP_H);
    for (int y = 0; y < BACKDROP_H; ++y)
        for (int x = 0; x < BACKDROP_W; ++x) {
            Rgba sum = {0, 0, 0, 0};
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    float fx = (x + (sx + 0.5f) / ss) / BACKDROP_W * 2.0f - 1.0f;
                    float fy = 1.0f - (y + (sy + 0.5f) / ss) / BACKDROP_H * 2.0f;
                    Vec3 dir = {1.0f, fx * tan_half * aspect, fy * tan_half};
                    Rgba c = trace(dir, wall, floor, ceiling);
                    sum.r += c.r, sum.g += c.g, sum.b += c.b;
                }
            float k = 1.0f / (ss * ss);
            // Vignette, a cold tint in the shadows and a little grain against
            // banding in the dark gradients.
            float vx = (x + 0.5f) / BACKDROP_W - 0.5f, vy = (y + 0.5f) / BACKDROP_H - 0.5f;
            float vignette = 1.0f - 1.1f * (vx * vx + vy * vy);
            float grain = (hash_unit(x, y, SEED_BACKDROP) - 0.5f) / 255.0f * 2.0f;
            Rgba c = {tone_map(sum.r * k), tone_map(sum.g * k), tone_map(sum.b * k), 1};
            c = scale(c, vignette);
            float shadow = 1.0f - smoothstep(0.0f, 0.25f, (c.r + c.g + c.b) / 3.0f);
            c.b += 0.02f * shadow;
            pixel(img, x, y) = {c.r + grain, c.g + grain, c.b + grain, 1};
        }
    return img;
}
