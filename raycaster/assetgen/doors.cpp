// Door faces: the brick wall, an arched opening with a dressed-stone frame
// and keystone, and either a banded plank door with a ring pull or a dark
// passage with the door seen nearly edge-on at its hinge.
#include "doors.h"

#include "config.h"
#include "noise.h"
#include "shapes.h"
#include "walls.h"

#include <algorithm>
#include <cmath>

constexpr float DOOR_CX = WALL_SIZE / 2.0f;
constexpr float DOOR_HALF_W = 34.0f;
constexpr float ARCH_Y = 52.0f; // where the arch springs from the jambs
constexpr float FRAME_W = 9.0f;
constexpr float HINGE_X = DOOR_CX - DOOR_HALF_W;

// Negative inside the opening.
static float opening(Vec2 p) {
    float arch = sd_circle(p, {DOOR_CX, ARCH_Y}, DOOR_HALF_W);
    float body = sd_box(p, {DOOR_CX, ARCH_Y + 50.0f}, {DOOR_HALF_W, 50.0f}, 0.0f);
    return std::min(arch, body);
}

static Rgba frame_stone(Vec2 p, float sd, int x, int y) {
    // Voussoirs radiate round the arch; the jambs are stacked blocks.
    float joint;
    int block;
    if (p.y < ARCH_Y) {
        float angle = std::atan2(ARCH_Y - p.y, p.x - DOOR_CX) / 3.14159265f * 9.0f;
        float nearest = std::round(angle);
        joint = std::fabs(angle - nearest) * 3.14159265f / 9.0f * (DOOR_HALF_W + sd);
        block = static_cast<int>(std::floor(angle)) + 40;
        // The keystone spans two voussoirs.
        if (std::fabs(p.x - DOOR_CX) < 6.0f) {
            joint = FRAME_W;
            block = 99;
        }
    } else {
        float row = (p.y - ARCH_Y) / 19.0f;
        joint = std::fabs(row - std::round(row)) * 19.0f;
        block = static_cast<int>(std::floor(row)) * 2 + (p.x > DOOR_CX);
    }
    float tone = 0.85f + 0.25f * hash_unit(block, 3, SEED_DOOR);
    float grain = tile_fbm(p.x / WALL_SIZE, p.y / WALL_SIZE, 16, 3, SEED_DOOR + 1) - 0.5f;
    float speckle = (hash_unit(x, y, SEED_DOOR + 2) - 0.5f) * 0.1f;
    // Rounded outer edge of the frame and a shaded lip towards the opening.
    float edge = 0.78f + 0.22f * smoothstep(0.0f, 2.0f, sd) * smoothstep(0.0f, 2.0f, FRAME_W - sd);
    Rgba stone = scale(rgb(0.52f, 0.49f, 0.44f), tone * (1.0f + grain * 0.5f + speckle) * edge);
    return mix(scale(stone, 0.45f), stone, smoothstep(0.4f, 1.2f, joint));
}

static Rgba plank_wood(float s, float y, int x, float light) {
    // s runs across the leaf from the hinge, 0..2*DOOR_HALF_W.
    const float plank_w = 2.0f * DOOR_HALF_W / 5.0f;
    int plank = static_cast<int>(std::floor(s / plank_w));
    float in_plank = s - plank * plank_w;
    float tone = 0.8f + 0.35f * hash_unit(plank, 7, SEED_DOOR + 3);
    float streak = tile_noise(s / 24.0f, y / 512.0f, 64, SEED_DOOR + 4 + plank);
    float rings = 0.5f + 0.5f * std::sin(in_plank * 0.9f + streak * 9.0f);
    float speckle = (hash_unit(x, static_cast<int>(y), SEED_DOOR + 5) - 0.5f) * 0.08f;
    Rgba wood = scale(rgb(0.36f, 0.22f, 0.12f), tone * (0.8f + 0.25f * rings + speckle) * light);
    float gap = std::min(in_plank, plank_w - in_plank);
    return mix(scale(wood, 0.3f), wood, smoothstep(0.3f, 1.1f, gap));
}

static Rgba iron(float highlight) {
    return scale(rgb(0.2f, 0.2f, 0.22f), 0.8f + highlight);
}

static Rgba closed_leaf(Vec2 p, float sd, int x) {
    // Recessed into the frame: darker towards the frame's upper and left lips.
    float recess = 0.55f + 0.45f * smoothstep(0.0f, 7.0f, -sd);
    Rgba c = plank_wood(p.x - HINGE_X, p.y, x, recess);
    for (float band : {58.0f, 108.0f}) {
        float d = std::fabs(p.y - band) - 3.0f;
        if (d < 0.5f) {
            float lip = p.y < band - 1.5f ? 0.35f : (p.y > band + 1.5f ? -0.25f : 0.0f);
            c = mix(c, iron(lip), coverage(d));
        }
        for (int i = 0; i < 5; ++i) {
            float rx = HINGE_X + (i + 0.5f) * 2.0f * DOOR_HALF_W / 5.0f;
            float r = sd_circle(p, {rx, band}, 1.6f);
            c = mix(c, iron(p.y < band ? 0.7f : 0.2f), coverage(r));
        }
    }
    // Ring pull on the side away from the hinge.
    Vec2 ring = {DOOR_CX + 21.0f, 82.0f};
    float r = std::fabs(sd_circle(p, ring, 5.0f)) - 1.1f;
    c = mix(c, iron(p.y < ring.y ? 0.5f : 0.05f), coverage(r));
    c = mix(c, iron(0.4f), coverage(sd_circle(p, {ring.x, ring.y - 5.5f}, 1.8f)));
    return c;
}

static Rgba open_passage(Vec2 p, int x, int y) {
    // Near-black passage, the floor beyond catching a little light.
    float floor_glow = smoothstep(92.0f, 128.0f, p.y) * 0.09f;
    float speckle = hash_unit(x, y, SEED_DOOR + 6) * 0.015f;
    Rgba c = rgb(0.015f + floor_glow + speckle, 0.016f + floor_glow * 0.95f + speckle,
                 0.02f + floor_glow * 0.9f + speckle);

    // The leaf, swung 80 degrees inward, shows as a narrow foreshortened strip
    // at the hinge, its far edge a little smaller with distance.
    const float open_cos = 0.1736f, depth = 0.0045f;
    float dx = p.x - HINGE_X;
    if (dx >= 0 && dx < 2.0f * DOOR_HALF_W * open_cos) {
        float s = dx / open_cos;
        float shrink = 1.0f / (1.0f + s * 0.985f * depth);
        float horizon = 70.0f;
        float bottom = horizon + (WALL_SIZE - horizon) * shrink;
        float top_edge =
            ARCH_Y - std::sqrt(std::max(0.0f, DOOR_HALF_W * DOOR_HALF_W -
                                                  (s - DOOR_HALF_W) * (s - DOOR_HALF_W)));
        float top = horizon + (top_edge - horizon) * shrink;
        if (p.y > top && p.y < bottom) {
            float leaf_y = horizon + (p.y - horizon) / shrink;
            c = plank_wood(s, leaf_y, x, 0.8f - 0.3f * s / (2.0f * DOOR_HALF_W));
            // The leaf's far edge shows its end grain as a pale line.
            if (dx > 2.0f * DOOR_HALF_W * open_cos - 1.0f) c = scale(c, 1.5f);
        }
    }
    return c;
}

static Image door_face(bool open) {
    Image img = brick_wall();
    for (int y = 0; y < WALL_SIZE; ++y)
        for (int x = 0; x < WALL_SIZE; ++x) {
            Vec2 p = {x + 0.5f, y + 0.5f};
            float sd = opening(p);
            Rgba &out = pixel(img, x, y);
            if (sd >= FRAME_W) {
                // Bricks next to the frame sit a little in its shade.
                out = scale(out, 0.75f + 0.25f * smoothstep(FRAME_W, FRAME_W + 4.0f, sd));
            } else if (sd >= 0) {
                out = frame_stone(p, sd, x, y);
            } else {
                out = open ? open_passage(p, x, y) : closed_leaf(p, sd, x);
            }
        }
    return img;
}

Image door_closed() {
    return door_face(false);
}
Image door_open() {
    return door_face(true);
}
