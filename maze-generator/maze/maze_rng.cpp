#include "maze_rng.h"

#include <cstdlib>

Rng rng_from_rand() {
    // rand() yields 31 random bits on glibc; two calls fill the state.
    uint64_t high = static_cast<uint32_t>(std::rand());
    uint64_t low = static_cast<uint32_t>(std::rand());
    return {(high << 31) ^ low};
}
