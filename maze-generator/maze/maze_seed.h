// Seeds: every maze comes from a 30-bit number, written for people as six
// letters and digits. The same seed, algorithm and size give the same maze
// on every machine: the generators use only the library's own random
// numbers (maze_rng.h), never the C library's or a standard distribution.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int SEED_CHARS = 6;
constexpr uint32_t SEED_LIMIT = 1u << (5 * SEED_CHARS); // seeds are 0 .. SEED_LIMIT - 1

// Five bits a character: digits and the capitals without I, L, O and U, so
// no character passes for another when read off paper.
constexpr std::string_view SEED_ALPHABET = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";

using SeedCode = char[SEED_CHARS + 1];

// The code of a seed (taken modulo SEED_LIMIT), most significant first.
void seed_code(uint32_t seed, SeedCode &out);

// Reads a code: blanks around it and a leading "seed" are skipped, lower
// case counts as upper, O as 0 and I or L as 1. False for anything else.
bool seed_parse(std::string_view text, uint32_t &seed);

// The seed after seed, wrapping: how a batch numbers its mazes.
inline uint32_t seed_next(uint32_t seed) {
    return (seed + 1) % SEED_LIMIT;
}

// A seed from the C library's rand(): srand() of the time makes one per run.
uint32_t seed_from_rand();
