// The endless maze: 25x25 chunks generated on first touch from their
// coordinates alone, cached for the rest of the run.
#pragma once

#include "config.h"
#include <cstdint>

enum : int { CELL_OPEN = 0, CELL_WALL = 1, CELL_PILLAR = 2 };

struct Chunk {
    int cx, cy;
    int cells[CHUNK_SIZE * CHUNK_SIZE]; // row-major by local y
    int secret_x, secret_y;             // local cell of the secret face, -1 until chosen
    int secret_side;
    int valid;
};

extern Chunk chunks[MAX_CHUNKS];
extern int chunk_count;

uint32_t chunk_seed(int cx, int cy);
uint32_t xorshift32(uint32_t v);

// Cell code of world cell (x, y); generates its chunk on first touch. A chunk
// that cannot be cached any more (cache full) reads as wall.
int world_cell(int x, int y);

// Floor division of a cell coordinate into chunk and local coordinate.
inline int chunk_of(int v) {
    return v >= 0 ? v / CHUNK_SIZE : -1 - (-1 - v) / CHUNK_SIZE;
}
inline int local_of(int v) {
    return static_cast<int>(static_cast<int64_t>(v) - int64_t{CHUNK_SIZE} * chunk_of(v));
}

// Slot of a cached chunk, or -1. Answers exactly what a scan of slots
// 0..chunk_count-1 in order would.
int chunk_slot(int cx, int cy);

// Empties the cache and the door table. Tests only: the game never resets
// its world.
void world_reset();
