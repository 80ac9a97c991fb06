#include "fresh_world.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

using World = FreshWorld;

// Positions along one border of a chunk that are open, in order.
std::vector<int> border_openings(const Chunk &c, int side) {
    std::vector<int> open;
    for (int i = 0; i < CHUNK_SIZE; i++) {
        int lx = side == 0 ? i : side == 1 ? i : side == 2 ? 0 : CHUNK_SIZE - 1;
        int ly = side == 0 ? 0 : side == 1 ? CHUNK_SIZE - 1 : i;
        if (c.cells[ly * CHUNK_SIZE + lx] != CELL_WALL) open.push_back(i);
    }
    return open;
}
enum { TOP, BOTTOM, LEFT, RIGHT };

TEST(WorldMaths, SeedAndMixingAreThirtyTwoBitWrapping) {
    EXPECT_EQ(chunk_seed(0, 0), 0u);
    EXPECT_EQ(chunk_seed(-1, 0), 4221111203u);
    EXPECT_EQ(chunk_seed(0, 1), 19349669u);
    EXPECT_EQ(xorshift32(0xDEADBEEFu), 1199382711u);
    EXPECT_EQ(chunk_seed(INT_MIN, INT_MAX),
              (uint32_t(INT_MIN) * 73856093u) ^ (uint32_t(INT_MAX) * 19349669u));
}

TEST(WorldMaths, FloorDivisionIntoChunks) {
    struct Case {
        int x, chunk, local;
    };
    for (Case c : {Case{-1, -1, 24},
                   {-25, -1, 0},
                   {-26, -2, 24},
                   {24, 0, 24},
                   {25, 1, 0},
                   {0, 0, 0},
                   {INT_MAX, 85899345, 22},
                   {INT_MIN, -85899346, 2}}) {
        EXPECT_EQ(chunk_of(c.x), c.chunk) << c.x;
        EXPECT_EQ(local_of(c.x), c.local) << c.x;
    }
}

TEST_F(World, ChunkAtOriginMatchesWorkedExample) {
    const Chunk &c = chunk(0, 0);
    EXPECT_EQ(local(c, 2, 2), CELL_PILLAR);
    EXPECT_EQ(local(c, 22, 22), CELL_PILLAR);
    for (int lx = 0; lx < CHUNK_SIZE; lx++) {
        // Row 11 holds no pillars (they stand on rows 2, 6, 10, ...).
        bool wall = lx == 0 || lx == 8 || lx == 9 || lx == 10 || lx == 13 || lx == 24;
        int want = wall ? CELL_WALL : CELL_OPEN;
        EXPECT_EQ(local(c, lx, 11), want) << "lx " << lx;
    }
    EXPECT_EQ(border_openings(c, TOP), (std::vector<int>{9, 10}));
    EXPECT_EQ(border_openings(c, BOTTOM), (std::vector<int>{22, 23}));
    EXPECT_EQ(border_openings(c, LEFT), (std::vector<int>{12, 13}));
    EXPECT_EQ(border_openings(c, RIGHT), (std::vector<int>{16, 17}));
    EXPECT_EQ(c.secret_x, 13);
    EXPECT_EQ(c.secret_y, 11);
    EXPECT_EQ(c.secret_side, 0);
    ASSERT_EQ(door_count, 1);
    EXPECT_EQ(doors[0].x, 13);
    EXPECT_EQ(doors[0].y, 11);
    EXPECT_EQ(doors[0].side, 0);
    EXPECT_EQ(doors[0].open, 0);
    EXPECT_EQ(doors[0].active, 1);
    EXPECT_EQ(is_secret_face(13, 11, 0), 1);
    EXPECT_EQ(is_secret_face(13, 11, 1), 0);
    EXPECT_EQ(is_secret_face(10, 11, 0), 0);
}

TEST_F(World, ChunkWestOfOriginHasSecretButNoDoor) {
    const Chunk &c = chunk(-1, 0);
    for (int ly = 1; ly < 24; ly++) {
        int want = (ly == 3 || ly == 6 || ly == 7) ? CELL_WALL
                   : (ly % 4 == 2)                 ? CELL_PILLAR // column 22 crosses the grid
                                                   : CELL_OPEN;
        EXPECT_EQ(local(c, 22, ly), want) << "ly " << ly;
    }
    EXPECT_EQ(local(c, 2, 2), CELL_PILLAR);
    EXPECT_EQ(border_openings(c, TOP), (std::vector<int>{11, 12}));
    EXPECT_EQ(border_openings(c, BOTTOM), (std::vector<int>{16, 17}));
    EXPECT_EQ(border_openings(c, LEFT), (std::vector<int>{17, 18}));
    EXPECT_EQ(border_openings(c, RIGHT), (std::vector<int>{12, 13}));
    EXPECT_EQ(c.secret_x, 22);
    EXPECT_EQ(c.secret_y, 7);
    EXPECT_EQ(c.secret_side, 0);
    EXPECT_EQ(door_count, 0);
    EXPECT_EQ(is_secret_face(-3, 7, 0), 1);
    EXPECT_EQ(world_cell(-3, 7), CELL_WALL);
}

TEST_F(World, ChunkSouthOfOriginIsEroded) {
    const Chunk &c = chunk(0, 1);
    EXPECT_EQ(local(c, 4, 11), CELL_WALL); // three open neighbours
    EXPECT_EQ(local(c, 5, 11), CELL_OPEN); // two: cleared
    EXPECT_EQ(local(c, 6, 11), CELL_WALL); // pillar above counts as closed
    EXPECT_EQ(local(c, 7, 11), CELL_OPEN); // gap
    EXPECT_EQ(local(c, 8, 11), CELL_OPEN); // gap
    EXPECT_EQ(local(c, 9, 11), CELL_WALL); // four
    EXPECT_EQ(border_openings(c, TOP), (std::vector<int>{22, 23}));
    EXPECT_EQ(c.secret_x, 4);
    EXPECT_EQ(c.secret_y, 11);
    EXPECT_EQ(c.secret_side, 0);
    ASSERT_EQ(door_count, 1);
    EXPECT_EQ(doors[0].x, 4);
    EXPECT_EQ(doors[0].y, 36);
    EXPECT_EQ(is_secret_face(4, 36, 0), 1);
}

TEST_F(World, CellsNeverHoldOtherCodesAndSecretFacesLookOntoFloor) {
    for (int cy = -6; cy < 6; cy++)
        for (int cx = -6; cx < 6; cx++) {
            const Chunk &c = chunk(cx, cy);
            for (int v : c.cells) EXPECT_TRUE(v == CELL_OPEN || v == CELL_WALL || v == CELL_PILLAR);
            ASSERT_GE(c.secret_x, 1);
            ASSERT_GE(c.secret_y, 1);
            EXPECT_EQ(local(c, c.secret_x, c.secret_y), CELL_WALL);
            static const int dx[] = {-1, 1, 0, 0}, dy[] = {0, 0, -1, 1};
            int s = c.secret_side;
            // Every chunk here has an open side; side 0 is also the fallback.
            EXPECT_EQ(local(c, c.secret_x + dx[s], c.secret_y + dy[s]), CELL_OPEN)
                << cx << "," << cy;
        }
}

TEST_F(World, EveryChunkHasFourTwoCellExitsMatchingItsNeighbours) {
    for (int cy = -8; cy < 8; cy++)
        for (int cx = -8; cx < 8; cx++) {
            const Chunk &c = chunk(cx, cy);
            for (int side : {TOP, BOTTOM, LEFT, RIGHT}) {
                std::vector<int> o = border_openings(c, side);
                ASSERT_EQ(o.size(), 2u) << cx << "," << cy << " side " << side;
                EXPECT_EQ(o[1], o[0] + 1);
                EXPECT_GE(o[0], 2);
                EXPECT_LE(o[1], 23);
            }
            EXPECT_EQ(border_openings(c, BOTTOM), border_openings(chunk(cx, cy + 1), TOP));
            EXPECT_EQ(border_openings(c, RIGHT), border_openings(chunk(cx + 1, cy), LEFT));
        }
}

TEST_F(World, AnswersDoNotDependOnQueryOrder) {
    auto snapshot = [] {
        std::vector<int> v;
        for (int y = -60; y < 60; y += 3)
            for (int x = -60; x < 60; x += 2) v.push_back(world_cell(x, y));
        return v;
    };
    auto forward = snapshot();
    world_reset();
    for (int y = 59; y >= -60; y--)
        for (int x = 59; x >= -60; x--) world_cell(x, y); // fill in reverse
    EXPECT_EQ(snapshot(), forward);
    EXPECT_EQ(snapshot(), forward); // and again, all from the cache
}

TEST_F(World, SlotsFillInFirstTouchOrderWithoutDuplicates) {
    world_cell(100, 0);
    world_cell(-1, -1);
    world_cell(101, 3);
    world_cell(0, 0);
    ASSERT_EQ(chunk_count, 3);
    EXPECT_EQ(chunks[0].cx, 4);
    EXPECT_EQ(chunks[1].cx, -1);
    EXPECT_EQ(chunks[1].cy, -1);
    EXPECT_EQ(chunks[2].cx, 0);
    for (int k = 0; k < 3; k++) EXPECT_EQ(chunks[k].valid, 1);
    EXPECT_EQ(chunks[3].valid, 0);
}

TEST_F(World, FullCacheAnswersWallAndChangesNothing) {
    for (int i = 0; i < MAX_CHUNKS; i++) world_cell(i * CHUNK_SIZE + 3, 5000);
    ASSERT_EQ(chunk_count, MAX_CHUNKS);
    int doors_before = door_count;
    const Chunk &first = chunks[0];
    int cached = first.cells[CHUNK_SIZE + 1]; // local (1, 1) of the first chunk
    for (int y = 0; y < CHUNK_SIZE; y++)
        for (int x = 0; x < CHUNK_SIZE; x++) ASSERT_EQ(world_cell(x, y), CELL_WALL);
    EXPECT_EQ(chunk_count, MAX_CHUNKS);
    EXPECT_EQ(door_count, doors_before);
    EXPECT_EQ(chunk_slot(0, 0), -1);
    EXPECT_EQ(world_cell(1, 5001), cached);
}

TEST_F(World, FullDoorTableStillGetsSecretFaces) {
    for (int i = 0; i < MAX_DOORS; i++) doors[i] = Door{1000 + i, 1000, 0, 0, 1};
    door_count = MAX_DOORS;
    const Chunk &c = chunk(0, 0); // would carry a door
    EXPECT_EQ(door_count, MAX_DOORS);
    EXPECT_EQ(is_secret_face(c.secret_x, c.secret_y, c.secret_side), 1);
    EXPECT_EQ(door_at(13, 11), nullptr);
}

TEST_F(World, DoorsKeepClearOfTheStartAndSitOnSecretFaces) {
    for (int cy = -10; cy < 10; cy++)
        for (int cx = -10; cx < 10; cx++) world_cell(cx * CHUNK_SIZE, cy * CHUNK_SIZE);
    ASSERT_GT(door_count, 50); // about 30 in 100 chunks
    for (int i = 0; i < door_count; i++) {
        const Door &d = doors[i];
        double dx = d.x + 0.5 - 2.5, dy = d.y + 0.5 - 2.5;
        EXPECT_GT(dx * dx + dy * dy, 64.0);
        EXPECT_EQ(is_secret_face(d.x, d.y, d.side), 1);
        EXPECT_EQ(world_cell(d.x, d.y), CELL_WALL);
        EXPECT_EQ(d.active, 1);
        EXPECT_EQ(door_at(d.x, d.y), &d); // one door per cell
    }
}

TEST_F(World, WorksAtTheEdgesOfTheIntRange) {
    struct P {
        int x, y;
    };
    for (P p : {P{INT_MAX, INT_MAX}, P{INT_MIN, INT_MIN}, P{INT_MIN, INT_MAX}, P{INT_MAX, 0}}) {
        int code = world_cell(p.x, p.y);
        int k = chunk_slot(chunk_of(p.x), chunk_of(p.y));
        ASSERT_GE(k, 0);
        EXPECT_EQ(code, chunks[k].cells[local_of(p.y) * CHUNK_SIZE + local_of(p.x)]);
    }
    // The secret cell's world x wraps in 32 bits: 25 * cx + secret_x.
    for (int k = 0; k < chunk_count; k++) {
        const Chunk &c = chunks[k];
        int wx = int(uint32_t(c.cx) * 25u + uint32_t(c.secret_x));
        int wy = int(uint32_t(c.cy) * 25u + uint32_t(c.secret_y));
        EXPECT_EQ(is_secret_face(wx, wy, c.secret_side), 1) << k;
    }
}

TEST_F(World, IndexFollowsACacheEmptiedByHand) {
    world_cell(0, 0);
    std::memset(chunks, 0, sizeof chunks);
    chunk_count = 0;
    door_count = 0;
    world_cell(-1, 0); // chunk (-1, 0) now takes slot 0
    EXPECT_EQ(chunk_slot(0, 0), -1);
    EXPECT_EQ(chunk_slot(-1, 0), 0);
    EXPECT_EQ(is_secret_face(13, 11, 0), 0);
    EXPECT_EQ(is_secret_face(-3, 7, 0), 1);
}

} // namespace
