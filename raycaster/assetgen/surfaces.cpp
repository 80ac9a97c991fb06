// Floor: worn flagstones in offset rows with dark grout. Ceiling: a grid of
// timber beams holding stained plaster panels. Everything is placed with
// tiling noise and wrapped layouts so the images repeat without a seam.
#include "surfaces.h"

#include "config.h"
#include "noise.h"
#include "shapes.h"

#include <array>
#include <cmath>

Image floor_tiles() {
    static constexpr std::array<Rgba, 4> stone = {{{0.31f, 0.29f, 0.27f, 1},
                                                   {0.27f, 0.26f, 0.25f, 1},
                                                   {0.34f, 0.31f, 0.28f, 1},
                                                   {0.24f, 0.23f, 0.23f, 1}}};
    const uint32_t seed = SEED_FLOOR;
    Image img = image_make(FLOOR_SIZE, FLOOR_SIZE);
    for (int y = 0; y < FLOOR_SIZE; ++y)
        for (int x = 0; x < FLOOR_SIZE; ++x) {
            Vec2 p = {x + 0.5f, y + 0.5f};
            float u = p.x / FLOOR_SIZE, v = p.y / FLOOR_SIZE;
            BondSpot spot = running_bond(p, 32, 32, FLOOR_SIZE, 1.0f, 3.0f);
            float chip = (tile_noise(u, v, 16, seed + 1) - 0.5f) * 1.6f;
            float in_slab = smoothstep(-0.35f, 0.35f, spot.edge + chip);

            uint32_t h = hash_u32(static_cast<uint32_t>(spot.id) * 2654435761u + seed);
            float tone = 0.85f + 0.3f * static_cast<float>((h >> 8) & 0xff) / 255.0f;
            float mottle = (tile_fbm(u, v, 8, 4, seed + 2) - 0.5f) * 0.5f;
            float speckle = (hash_unit(x, y, seed + 3) - 0.5f) * 0.14f;
            // Worn edges: the chamfer round each slab catches dirt.
            float chamfer = 0.7f + 0.3f * smoothstep(0.0f, 3.0f, spot.edge);
            float pit = hash_unit(x, y, seed + 4) < 0.012f ? 0.55f : 1.0f;
            Rgba slab =
                scale(stone[h % stone.size()], tone * (1.0f + mottle + speckle) * chamfer * pit);

            float grime = 0.8f + 0.4f * tile_noise(u, v, 32, seed + 5);
            Rgba grout = scale(rgb(0.16f, 0.15f, 0.14f), grime * (1.0f + speckle));
            pixel(img, x, y) = mix(grout, slab, in_slab);
        }
    return img;
}

// Beam grid: one beam along each image edge (half of it on each side of the
// wrap) and one through the middle, both ways.
constexpr float BEAM_HALF = 6.0f;
constexpr float PANEL = CEILING_SIZE / 2.0f;

static float beam_distance(float c) {
    float m = std::fmod(c, PANEL);
    return std::min(m, PANEL - m);
}

Image ceiling_panels() {
    const uint32_t seed = SEED_CEILING;
    Image img = image_make(CEILING_SIZE, CEILING_SIZE);
    for (int y = 0; y < CEILING_SIZE; ++y)
        for (int x = 0; x < CEILING_SIZE; ++x) {
            Vec2 p = {x + 0.5f, y + 0.5f};
            float u = p.x / CEILING_SIZE, v = p.y / CEILING_SIZE;
            float bx = beam_distance(p.x), by = beam_distance(p.y);
            float speckle = (hash_unit(x, y, seed + 1) - 0.5f) * 0.1f;

            // Plaster, darker in the corners of its recess, with tide marks
            // where water once stood.
            float recess = smoothstep(0.0f, 7.0f, std::min(bx, by) - BEAM_HALF);
            float damp = tile_fbm(u, v, 4, 4, seed + 2);
            float tide = smoothstep(0.035f, 0.0f, std::fabs(damp - 0.6f));
            float stain = smoothstep(0.56f, 0.72f, damp);
            float mottle = (tile_fbm(u, v, 16, 3, seed + 4) - 0.5f) * 0.3f;
            Rgba plaster =
                scale(rgb(0.24f, 0.23f, 0.22f),
                      (0.55f + 0.45f * recess) * (1.0f + speckle + mottle) * (1.0f - 0.12f * tide));
            plaster = mix(plaster, rgb(0.22f, 0.19f, 0.14f), 0.45f * stain);

            // Beams: the ones along x run below the ones along y, so they win
            // at the crossings.
            bool along_x = by < BEAM_HALF;
            bool along_y = bx < BEAM_HALF;
            if (along_x || along_y) {
                float across = along_x ? by : bx;
                float length = along_x ? p.x : p.y;
                float grain =
                    tile_noise(along_x ? u : v, across / 64.0f + (along_x ? 0 : 0.5f), 4, seed + 3);
                float streaks =
                    0.5f + 0.5f * std::sin(across * 2.3f + grain * 12.0f + length * 0.02f);
                // Rounded beam: lit along its middle, dark at its sides.
                float round = 1.0f - 0.45f * (across / BEAM_HALF) * (across / BEAM_HALF);
                Rgba wood = scale(rgb(0.21f, 0.15f, 0.1f),
                                  round * (0.85f + 0.25f * streaks) * (1.0f + speckle));
                if (along_x && along_y) {
                    // An iron nail at every crossing.
                    float nail = sd_circle({bx, by}, {0, 0}, 1.8f);
                    wood = mix(wood, rgb(0.16f, 0.16f, 0.17f), coverage(nail));
                }
                pixel(img, x, y) = wood;
            } else {
                pixel(img, x, y) = plaster;
            }
        }
    return img;
}
