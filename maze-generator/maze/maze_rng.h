// The generators' random numbers: splitmix64 started from the maze's seed.
// Fixed arithmetic on 64-bit integers, so every compiler and C library gives
// the same numbers (and it is fast: glibc's rand() costs about 14 ns a call
// behind its lock, which alone would blow the 3 ms budget of a 300 x 300
// Kruskal or Prim maze).
#pragma once

#include <cstdint>

// Kept in a local by each generator so the state can live in a register.
struct Rng {
    uint64_t state;
};

// Neighbouring seeds start far apart in the generator's sequence.
inline Rng rng_from_seed(uint32_t seed) {
    uint64_t z = (uint64_t(seed) + 1) * 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 29)) * 0xBF58476D1CE4E5B9u;
    return {z ^ (z >> 32)};
}

inline uint32_t rng_next(Rng &r) {
    uint64_t z = (r.state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

// Uniform in 0 .. n - 1 for n > 0, without modulo bias (Lemire's method).
inline uint32_t rng_below(Rng &r, uint32_t n) {
    uint64_t m = uint64_t(rng_next(r)) * n;
    if (static_cast<uint32_t>(m) < n) {
        uint32_t threshold = (0u - n) % n;
        while (static_cast<uint32_t>(m) < threshold) m = uint64_t(rng_next(r)) * n;
    }
    return static_cast<uint32_t>(m >> 32);
}
