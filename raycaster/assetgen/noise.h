// Deterministic randomness: integer hashes, a small generator and value
// noise that repeats over a whole number of lattice cells, so textures built
// from it tile.
#pragma once

#include <cstdint>

uint32_t hash_u32(uint32_t v);
uint32_t hash2(int x, int y, uint32_t seed);
float hash_unit(int x, int y, uint32_t seed); // in [0, 1)

// Sequential generator for things that are placed one after another.
struct Rng {
    uint64_t state;
};
Rng rng_make(uint32_t seed);
uint32_t rng_next(Rng &rng);
float rng_unit(Rng &rng); // in [0, 1)
float rng_range(Rng &rng, float lo, float hi);
float rng_gauss(Rng &rng); // roughly normal, mean 0, deviation 1

// Smooth value noise in [0, 1] at (u, v), both in tile units [0, 1); the
// lattice has `period` cells per tile side and wraps there.
float tile_noise(float u, float v, int period, uint32_t seed);
// Sum of `octaves` layers of tile_noise, each twice as fine and half as
// strong; still in [0, 1] and still tiling.
float tile_fbm(float u, float v, int period, int octaves, uint32_t seed);
