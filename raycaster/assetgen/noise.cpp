// Hashes, generator and tiling value noise.
#include "noise.h"

#include <cmath>

uint32_t hash_u32(uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}

uint32_t hash2(int x, int y, uint32_t seed) {
    return hash_u32(static_cast<uint32_t>(x) * 0x9e3779b1U ^
                    hash_u32(static_cast<uint32_t>(y) + 0x632be5abU * seed) ^ seed);
}

float hash_unit(int x, int y, uint32_t seed) {
    return static_cast<float>(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

Rng rng_make(uint32_t seed) {
    return {0x853c49e6748fea9bULL ^ (uint64_t{seed} << 17 | seed)};
}

uint32_t rng_next(Rng &rng) {
    // splitmix64: good enough spread for placing cracks and notes.
    uint64_t z = (rng.state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float rng_unit(Rng &rng) {
    return static_cast<float>(rng_next(rng) >> 8) * (1.0f / 16777216.0f);
}

float rng_range(Rng &rng, float lo, float hi) {
    return lo + (hi - lo) * rng_unit(rng);
}

float rng_gauss(Rng &rng) {
    float sum = 0.0f;
    for (int i = 0; i < 6; ++i) sum += rng_unit(rng);
    return (sum - 3.0f) * 1.41421356f;
}

static int wrap(int v, int n) {
    return ((v % n) + n) % n;
}

float tile_noise(float u, float v, int period, uint32_t seed) {
    float x = u * period, y = v * period;
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float tx = x - x0, ty = y - y0;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    int xa = wrap(x0, period), xb = wrap(x0 + 1, period);
    int ya = wrap(y0, period), yb = wrap(y0 + 1, period);
    float a = hash_unit(xa, ya, seed), b = hash_unit(xb, ya, seed);
    float c = hash_unit(xa, yb, seed), d = hash_unit(xb, yb, seed);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float tile_fbm(float u, float v, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * tile_noise(u, v, period << i, seed + 0x1000193U * i);
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}
