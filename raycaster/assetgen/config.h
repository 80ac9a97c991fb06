// Every tunable of the asset generator: image sizes, sound lengths and the
// seeds that keep each build's output identical.
#pragma once

#include <cstdint>

// Scene textures. Walls are one image per 1x1 face; the floor repeats four
// times per cell and the ceiling twice, so their texels come out alike.
constexpr int WALL_SIZE = 128;
constexpr int FLOOR_SIZE = 64;
constexpr int CEILING_SIZE = 128;

// Brick layout of every wall image: courses and bricks divide the image
// exactly, so a wall tiles and the secret and door faces line up with it.
constexpr int BRICK_W = 32;
constexpr int BRICK_H = 16;
constexpr float MORTAR_HALF = 1.0f; // half a joint, in pixels

// Title backdrop, drawn stretched over the 960x600 reference window.
constexpr int BACKDROP_W = 960;
constexpr int BACKDROP_H = 600;
constexpr int BACKDROP_SUPERSAMPLE = 2; // per axis

// Window icon and cursor.
constexpr int ICON_SIZE = 64;
// The icon theme's usual application icon sizes.
constexpr int THEME_ICON_SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int CURSOR_SIZE = 32;

// Audio.
constexpr int SAMPLE_RATE = 44100;
constexpr double STEP_SECONDS = 0.21;
// Every oscillator of the music is tuned to a whole number of cycles in this
// many seconds, so the loop closes on itself without a click.
constexpr int MUSIC_SECONDS = 48;

// Seeds: one per asset, so changing one asset leaves the others alone.
constexpr uint32_t SEED_BRICK = 0x6b1a2c01;
constexpr uint32_t SEED_SECRET = 0x5ec7e702;
constexpr uint32_t SEED_DOOR = 0x0d0012a3;
constexpr uint32_t SEED_FLOOR = 0xf100c504;
constexpr uint32_t SEED_CEILING = 0xce111605;
constexpr uint32_t SEED_BACKDROP = 0xbacd0706;
constexpr uint32_t SEED_STEP = 0x57e90007;
constexpr uint32_t SEED_MUSIC = 0x30051c08;
