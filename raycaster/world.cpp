#include "world.h"
#include "doors.h"

#include <cstring>

Chunk chunks[MAX_CHUNKS];
int chunk_count = 0;

uint32_t chunk_seed(int cx, int cy) {
    return (static_cast<uint32_t>(cx) * 73856093u) ^ (static_cast<uint32_t>(cy) * 19349669u);
}

uint32_t xorshift32(uint32_t v) {
    v ^= v << 13;
    v ^= v >> 17;
    v ^= v << 5;
    return v;
}

// ---------------------------------------------------------------------------
// Index in front of the slot scan. The renderer asks ~20,000 cells a frame;
// scanning up to 512 slots of 2.5 KB each per question would walk megabytes.
// Both tables map a key to the lowest slot holding it, which is the slot the
// in-order scan would find first. They are rebuilt whenever chunk_count moved
// without them (a test emptying the cache, say).

namespace {

constexpr int INDEX_SIZE = 2048; // power of two, well above twice MAX_CHUNKS
constexpr uint32_t INDEX_MASK = INDEX_SIZE - 1;

struct IndexEntry {
    int a, b, c; // chunk: (cx, cy, 0); secret face: (world x, world y, side)
    int slot;    // -1 when empty
};

IndexEntry chunk_index[INDEX_SIZE];
IndexEntry secret_index[INDEX_SIZE];
int indexed_count = -1; // forces a build on first use

// The last chunk answered: the renderer and collision ask neighbouring cells
// in runs, so most questions land in the chunk of the one before.
int last_cx, last_cy, last_slot = -1;

uint32_t index_hash(int a, int b, int c) {
    uint32_t h = static_cast<uint32_t>(a) * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(b) * 0x85EBCA77u;
    h ^= static_cast<uint32_t>(c) * 0xC2B2AE3Du;
    h ^= h >> 15;
    return h;
}

int index_find(const IndexEntry *table, int a, int b, int c) {
    for (uint32_t i = index_hash(a, b, c) & INDEX_MASK;; i = (i + 1) & INDEX_MASK) {
        const IndexEntry &e = table[i];
        if (e.slot < 0) return -1;
        if (e.a == a && e.b == b && e.c == c) return e.slot;
    }
}

// Keeps the first slot given for a key, like the in-order scan.
void index_add(IndexEntry *table, int a, int b, int c, int slot) {
    for (uint32_t i = index_hash(a, b, c) & INDEX_MASK;; i = (i + 1) & INDEX_MASK) {
        IndexEntry &e = table[i];
        if (e.slot < 0) {
            e = {a, b, c, slot};
            return;
        }
        if (e.a == a && e.b == b && e.c == c) return;
    }
}

// World coordinate of a chunk-local cell, wrapping in 32 bits.
int world_coord(int chunk, int local) {
    return static_cast<int>(static_cast<uint32_t>(chunk) * CHUNK_SIZE +
                            static_cast<uint32_t>(local));
}

void index_slot(int k) {
    const Chunk &c = chunks[k];
    if (!c.valid) return;
    index_add(chunk_index, c.cx, c.cy, 0, k);
    index_add(secret_index, world_coord(c.cx, c.secret_x), world_coord(c.cy, c.secret_y),
              c.secret_side, k);
}

void index_rebuild() {
    last_slot = -1;
    for (int i = 0; i < INDEX_SIZE; i++) chunk_index[i].slot = secret_index[i].slot = -1;
    int n = chunk_count < 0 ? 0 : (chunk_count > MAX_CHUNKS ? MAX_CHUNKS : chunk_count);
    for (int k = 0; k < n; k++) index_slot(k);
    indexed_count = chunk_count;
}

void index_sync() {
    if (indexed_count != chunk_count) index_rebuild();
}

// ---------------------------------------------------------------------------
// Generation

constexpr int N = CHUNK_SIZE;
constexpr int LAST = CHUNK_SIZE - 1;

void place_inner_wall(int (&g)[N][N], uint32_t r) {
    int pos = 2 + static_cast<int>(r % 21);
    int start = 1 + static_cast<int>(r & 7);
    int len = 3 + static_cast<int>(r % 12);
    int gap = start + static_cast<int>(r % static_cast<uint32_t>(len));
    if (r & 1) {
        for (int c = start; c < start + len; c++) g[pos][c] = CELL_WALL;
        g[pos][gap] = g[pos][gap + 1] = CELL_OPEN;
    } else {
        for (int row = start; row < start + len; row++) g[row][pos] = CELL_WALL;
        g[gap][pos] = g[gap + 1][pos] = CELL_OPEN;
    }
}

int opening(uint32_t seed, uint32_t stream) {
    return 2 + static_cast<int>(xorshift32(seed ^ stream) % 21);
}

void open_borders(int (&g)[N][N], int cx, int cy) {
    constexpr uint32_t ROWS = 0xDEA7AF21u, COLS = 0xDEAD0000u;
    int o = opening(chunk_seed(cx, cy), ROWS);
    g[0][o] = g[0][o + 1] = CELL_OPEN;
    o = opening(chunk_seed(cx, cy + 1), ROWS); // matches row 0 of the chunk below
    g[LAST][o] = g[LAST][o + 1] = CELL_OPEN;
    o = opening(chunk_seed(cx, cy), COLS);
    g[o][0] = g[o + 1][0] = CELL_OPEN;
    o = opening(chunk_seed(cx + 1, cy), COLS); // matches column 0 of the chunk right
    g[o][LAST] = g[o + 1][LAST] = CELL_OPEN;
}

// In place, in visiting order: later cells see the ones already cleared.
void erode(int (&g)[N][N]) {
    for (int row = 2; row <= 22; row++)
        for (int c = 2; c <= 22; c++) {
            if (g[row][c] != CELL_WALL) continue;
            int open = (g[row - 1][c] == CELL_OPEN) + (g[row + 1][c] == CELL_OPEN) +
                       (g[row][c - 1] == CELL_OPEN) + (g[row][c + 1] == CELL_OPEN);
            if (open == 1 || open == 2) g[row][c] = CELL_OPEN;
        }
}

void choose_secret(Chunk &ch, const int (&g)[N][N], uint32_t r, uint32_t p) {
    ch.secret_x = ch.secret_y = -1;
    ch.secret_side = 0;
    uint32_t walls = 0;
    for (int row = 1; row <= 23; row++)
        for (int c = 1; c <= 23; c++) walls += g[row][c] == CELL_WALL;
    if (walls == 0) return;

    uint32_t t = r % walls;
    for (int row = 1; row <= 23 && ch.secret_x < 0; row++)
        for (int c = 1; c <= 23; c++) {
            if (g[row][c] != CELL_WALL) continue;
            if (t-- == 0) {
                ch.secret_x = c;
                ch.secret_y = row;
                break;
            }
        }
    int sx = ch.secret_x, sy = ch.secret_y;
    if (g[sy][sx - 1] == CELL_OPEN)
        ch.secret_side = 0;
    else if (g[sy][sx + 1] == CELL_OPEN)
        ch.secret_side = 1;
    else if (g[sy - 1][sx] == CELL_OPEN)
        ch.secret_side = 2;
    else if (g[sy + 1][sx] == CELL_OPEN)
        ch.secret_side = 3;
    else
        ch.secret_side = 0;

    if (door_count < MAX_DOORS && p < 30) {
        int wx = world_coord(ch.cx, sx), wy = world_coord(ch.cy, sy);
        double dx = wx + 0.5 - START_X, dy = wy + 0.5 - START_Y;
        if (dx * dx + dy * dy > DOOR_SPAWN_CLEARANCE_SQ)
            doors[door_count++] = Door{wx, wy, ch.secret_side, 0, 1};
    }
}

void generate_chunk(int k, int cx, int cy) {
    Chunk &ch = chunks[k];
    ch.cx = cx;
    ch.cy = cy;
    ch.valid = 1;

    int g[N][N] = {};
    for (int i = 0; i < N; i++) g[0][i] = g[LAST][i] = g[i][0] = g[i][LAST] = CELL_WALL;

    uint32_t r = xorshift32(chunk_seed(cx, cy) ^ 0xDEADBEEFu);
    uint32_t p = r % 100;
    if (p < 70)
        for (int row = 2; row <= 22; row += 4)
            for (int c = 2; c <= 22; c += 4) g[row][c] = CELL_PILLAR;
    place_inner_wall(g, r);
    open_borders(g, cx, cy);
    if (p < 5) erode(g);

    std::memcpy(ch.cells, g, sizeof g);
    choose_secret(ch, g, r, p);
}

} // namespace

int chunk_slot(int cx, int cy) {
    index_sync();
    if (last_slot >= 0 && cx == last_cx && cy == last_cy) return last_slot;
    int k = index_find(chunk_index, cx, cy, 0);
    if (k >= 0) {
        last_cx = cx;
        last_cy = cy;
        last_slot = k;
    }
    return k;
}

int secret_face_slot(int x, int y, int side) {
    index_sync();
    return index_find(secret_index, x, y, side);
}

int world_cell(int x, int y) {
    int cx = chunk_of(x), cy = chunk_of(y);
    int cell = local_of(y) * CHUNK_SIZE + local_of(x);
    int k = chunk_slot(cx, cy);
    if (k >= 0) return chunks[k].cells[cell];
    if (chunk_count >= MAX_CHUNKS) return CELL_WALL;

    k = chunk_count;
    generate_chunk(k, cx, cy);
    chunk_count++;
    index_slot(k);
    indexed_count = chunk_count;
    return chunks[k].cells[cell];
}

void world_reset() {
    std::memset(chunks, 0, sizeof chunks);
    chunk_count = 0;
    std::memset(doors, 0, sizeof doors);
    door_count = 0;
    index_rebuild();
}
