// Brick walls: staggered courses with chipped edges, per-brick tone, grain,
// soot and a bevel lit from above; the secret face is the same courses in
// weathered stone with moss, cracks and a carved eye.
#include "walls.h"

#include "config.h"
#include "noise.h"
#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

// Where a point of a wall image falls in the brick layout.
static BondSpot brick_spot(Vec2 p) {
    return running_bond(p, BRICK_W, BRICK_H, WALL_SIZE, MORTAR_HALF, 1.5f);
}

// A brick wall in the given brick colours and mortar.
static Image brick_surface(std::span<const Rgba> palette, Rgba mortar, uint32_t seed) {
    Image img = image_make(WALL_SIZE, WALL_SIZE);
    for (int y = 0; y < WALL_SIZE; ++y)
        for (int x = 0; x < WALL_SIZE; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float u = px / WALL_SIZE, v = py / WALL_SIZE;
            BondSpot spot = brick_spot({px, py});
            float chip = (tile_noise(u, v, 32, seed + 1) - 0.5f) * 1.8f +
                         (tile_noise(u, v, 64, seed + 2) - 0.5f) * 0.8f;
            float in_brick = smoothstep(-0.35f, 0.35f, spot.edge + chip);
            float speckle = (hash_unit(x, y, seed + 4) - 0.5f) * 0.12f;
            float soot = 0.78f + 0.4f * tile_fbm(u, v, 4, 3, seed + 5);

            uint32_t h = hash_u32(static_cast<uint32_t>(spot.id) * 7919u + seed);
            Rgba base = palette[h % palette.size()];
            float tone = 0.82f + 0.3f * static_cast<float>((h >> 8) & 0xff) / 255.0f;
            float grain = (tile_fbm(u, v, 16, 3, seed + 3) - 0.5f) * 0.45f;
            // Lit from above: a bright top lip, a shaded underside, softer sides.
            float top = spot.ly - MORTAR_HALF, bottom = BRICK_H - MORTAR_HALF - spot.ly;
            float left = spot.lx - MORTAR_HALF, right = BRICK_W - MORTAR_HALF - spot.lx;
            float bevel = 1.0f + 0.16f * (1.0f - smoothstep(0.0f, 2.5f, top)) -
                          0.3f * (1.0f - smoothstep(0.0f, 2.5f, bottom)) +
                          0.05f * (1.0f - smoothstep(0.0f, 2.0f, left)) -
                          0.1f * (1.0f - smoothstep(0.0f, 2.0f, right));
            Rgba brick = scale(base, tone * (1.0f + grain + speckle) * bevel * soot);

            float mortar_noise = 0.8f + 0.4f * tile_fbm(u, v, 32, 2, seed + 6);
            Rgba joint = scale(mortar, mortar_noise * (1.0f + speckle * 1.5f) * soot);
            pixel(img, x, y) = mix(joint, brick, in_brick);
        }
    return img;
}

Image brick_wall() {
    static constexpr std::array<Rgba, 5> palette = {{{0.46f, 0.24f, 0.18f, 1},
                                                     {0.40f, 0.21f, 0.17f, 1},
                                                     {0.49f, 0.29f, 0.21f, 1},
                                                     {0.35f, 0.20f, 0.17f, 1},
                                                     {0.28f, 0.17f, 0.14f, 1}}};
    return brick_surface(palette, rgb(0.40f, 0.37f, 0.33f), SEED_BRICK);
}

// Dark hairline cracks, walked from a few starting points.
static std::vector<float> crack_mask(uint32_t seed) {
    std::vector<float> mask(WALL_SIZE * WALL_SIZE, 0.0f);
    Rng rng = rng_make(seed);
    for (int crack = 0; crack < 3; ++crack) {
        float x = rng_range(rng, 8, WALL_SIZE - 8), y = rng_range(rng, 8, WALL_SIZE - 8);
        float angle = rng_range(rng, 0, 6.2831853f);
        int steps = static_cast<int>(rng_range(rng, 18, 46));
        for (int i = 0; i < steps; ++i) {
            angle += rng_gauss(rng) * 0.2f;
            x += std::cos(angle);
            y += std::sin(angle);
            int ix = static_cast<int>(x), iy = static_cast<int>(y);
            if (ix < 0 || iy < 0 || ix >= WALL_SIZE || iy >= WALL_SIZE) break;
            mask[iy * WALL_SIZE + ix] = 1.0f;
        }
    }
    return mask;
}

// Distance field of the carved eye: almond outline, iris ring and pupil.
static float eye_glyph(Vec2 p) {
    const Vec2 c = {WALL_SIZE / 2.0f, WALL_SIZE / 2.0f};
    // Two arcs through the eye's corners, 36 px either side, bulging 16 px.
    const float half_w = 36, bulge = 16;
    const float r = (half_w * half_w + bulge * bulge) / (2 * bulge);
    float upper = sd_circle(p, {c.x, c.y - bulge + r}, r);
    float lower = sd_circle(p, {c.x, c.y + bulge - r}, r);
    float almond = std::fabs(std::max(upper, lower)) - 2.2f;
    float iris = std::fabs(sd_circle(p, c, 11.0f)) - 2.0f;
    float pupil = sd_circle(p, c, 4.5f);
    return std::min({almond, iris, pupil});
}

Image secret_wall() {
    static constexpr std::array<Rgba, 4> stone = {{{0.36f, 0.37f, 0.33f, 1},
                                                   {0.30f, 0.32f, 0.29f, 1},
                                                   {0.41f, 0.40f, 0.35f, 1},
                                                   {0.27f, 0.29f, 0.27f, 1}}};
    Image img = brick_surface(stone, rgb(0.24f, 0.25f, 0.22f), SEED_SECRET);
    std::vector<float> cracks = crack_mask(SEED_SECRET + 10);
    for (int y = 0; y < WALL_SIZE; ++y)
        for (int x = 0; x < WALL_SIZE; ++x) {
            Vec2 p = {x + 0.5f, y + 0.5f};
            float u = p.x / WALL_SIZE, v = p.y / WALL_SIZE;
            Rgba &out = pixel(img, x, y);

            // Moss creeps up from the floor and along the joints.
            float mortar = brick_spot(p).edge < 0.5f ? 0.18f : 0.0f;
            float growth = tile_fbm(u, v, 8, 4, SEED_SECRET + 20) + 0.3f * v * v + mortar;
            float moss = smoothstep(0.7f, 0.8f, growth);
            float moss_tone = 0.75f + 0.5f * hash_unit(x, y, SEED_SECRET + 21);
            out = mix(out, scale(rgb(0.16f, 0.27f, 0.09f), moss_tone), moss * 0.9f);

            if (cracks[y * WALL_SIZE + x] > 0) out = scale(out, 0.35f);

            // Carved groove: shaded where its upper wall faces down, caught
            // by the light where its lower wall faces up.
            float groove = coverage(eye_glyph(p));
            if (groove > 0) {
                float above = coverage(eye_glyph({p.x, p.y - 2.0f}));
                float below = coverage(eye_glyph({p.x, p.y + 2.0f}));
                float k = 0.55f - 0.3f * std::max(0.0f, groove - above) +
                          0.9f * std::max(0.0f, groove - below);
                out = mix(out, scale(out, k), groove);
            }
        }
    return img;
}
