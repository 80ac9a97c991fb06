// Seeds fix mazes for good, and the statistics agree with a tally made here
// on drawings of the mazes, by other means than the library's.
#include "maze.h"
#include "maze_check.h"
#include "maze_seed.h"
#include "maze_stats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Art = std::vector<std::string>;

// '#' a wall, anything else open; 2 * rows + 1 lines of 2 * cols + 1
// characters. The library's maze keeps its border closed: the entrance and
// the exit exist only in the drawing.
std::unique_ptr<Maze> maze_from_art(const Art &art) {
    auto m = std::make_unique<Maze>();
    const int rows = int(art.size()) / 2, cols = int(art[0].size()) / 2;
    maze_init(m.get(), rows, cols);
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            uint8_t w = 0;
            if (r == 0 || art[2 * r][2 * c + 1] == '#') w |= WALL_TOP;
            if (r == rows - 1 || art[2 * r + 2][2 * c + 1] == '#') w |= WALL_BOTTOM;
            if (c == 0 || art[2 * r + 1][2 * c] == '#') w |= WALL_LEFT;
            if (c == cols - 1 || art[2 * r + 1][2 * c + 2] == '#') w |= WALL_RIGHT;
            m->cells[r * MAZE_STRIDE + c] = w;
        }
    return m;
}

Art art_of(const Maze &m) {
    Art art(size_t(2 * m.rows + 1), std::string(size_t(2 * m.cols + 1), '#'));
    for (int r = 0; r < m.rows; r++)
        for (int c = 0; c < m.cols; c++) {
            const uint8_t w = maze_cell(m, r, c);
            art[2 * r + 1][2 * c + 1] = ' ';
            if (!(w & WALL_RIGHT)) art[2 * r + 1][2 * c + 2] = ' ';
            if (!(w & WALL_BOTTOM)) art[2 * r + 2][2 * c + 1] = ' ';
        }
    art[1][0] = ' ';
    art[2 * m.rows - 1][2 * m.cols] = ' ';
    return art;
}

// The tally: ways out counted as gaps around each cell of the drawing; the
// solution by dead-end filling (in a perfect maze what is never filled is
// the way through); straight runs read along the drawing's lines.
MazeStats tally(Art art) {
    MazeStats s{};
    const int rows = int(art.size()) / 2, cols = int(art[0].size()) / 2;
    auto ways = [&](int r, int c) {
        const int y = 2 * r + 1, x = 2 * c + 1;
        return int(art[y - 1][x] != '#') + int(art[y + 1][x] != '#') + int(art[y][x - 1] != '#') +
               int(art[y][x + 1] != '#');
    };
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            s.dead_ends += ways(r, c) == 1;
            s.junctions += ways(r, c) >= 3;
        }
    for (int y = 1; y < int(art.size()); y += 2) { // rows of cells
        int run = 0;
        for (int x = 1; x < int(art[0].size()); x += 2) {
            run = (x > 1 && art[y][x - 1] != '#') ? run + 1 : 1;
            s.longest_straight = std::max(s.longest_straight, run);
        }
    }
    for (int x = 1; x < int(art[0].size()); x += 2) { // columns of cells
        int run = 0;
        for (int y = 1; y < int(art.size()); y += 2) {
            run = (y > 1 && art[y - 1][x] != '#') ? run + 1 : 1;
            s.longest_straight = std::max(s.longest_straight, run);
        }
    }
    for (bool filled = true; filled;) {
        filled = false;
        for (int r = 0; r < rows; r++)
            for (int c = 0; c < cols; c++) {
                const int y = 2 * r + 1, x = 2 * c + 1;
                if (art[y][x] == '#' || ways(r, c) != 1) continue;
                art[y][x] = art[y - 1][x] = art[y + 1][x] = art[y][x - 1] = art[y][x + 1] = '#';
                filled = true;
            }
    }
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) s.solution_cells += art[2 * r + 1][2 * c + 1] != '#';
    s.solution_percent = 100.0 * s.solution_cells / (rows * cols);
    return s;
}

void expect_stats(const MazeStats &got, int dead_ends, int junctions, int solution, double percent,
                  int straight, const std::string &what) {
    EXPECT_EQ(got.dead_ends, dead_ends) << what;
    EXPECT_EQ(got.junctions, junctions) << what;
    EXPECT_EQ(got.solution_cells, solution) << what;
    EXPECT_NEAR(got.solution_percent, percent, 0.05) << what;
    EXPECT_EQ(got.longest_straight, straight) << what;
}

uint64_t fnv1a(const Maze &m) {
    uint64_t h = 0xcbf29ce484222325u;
    for (int r = 0; r < m.rows; r++)
        for (int c = 0; c < m.cols; c++) h = (h ^ maze_cell(m, r, c)) * 0x100000001b3u;
    return h;
}

TEST(MazeSeed, CodesReadBackAndForgiveWhatPaperConfuses) {
    SeedCode code;
    for (uint32_t seed : {0u, 1u, 31u, 32u, 123456789u, SEED_LIMIT - 1}) {
        seed_code(seed, code);
        uint32_t back = 0;
        ASSERT_TRUE(seed_parse(code, back)) << code;
        EXPECT_EQ(back, seed) << code;
    }
    seed_code(0, code);
    EXPECT_STREQ(code, "000000");
    seed_code(SEED_LIMIT - 1, code);
    EXPECT_STREQ(code, "ZZZZZZ");
    seed_code(SEED_LIMIT + 5, code); // wraps like the generator does
    EXPECT_STREQ(code, "000005");
    uint32_t a = 0, b = 1;
    EXPECT_TRUE(seed_parse("K7QX2M", a));
    EXPECT_TRUE(seed_parse("  seed k7qx2m\n", b));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(seed_parse("oIl000", a));
    EXPECT_TRUE(seed_parse("011000", b));
    EXPECT_EQ(a, b);
    for (const char *bad : {"", "K7QX2", "K7QX2MM", "K7QX-M", "K7QU2M", "seedK7QX2M", "K7 QX2M"})
        EXPECT_FALSE(seed_parse(bad, a)) << bad;
}

// Pinned: these hashes must never change, or every seed printed on a
// worksheet would lead to another maze.
TEST(MazeSeed, SameSeedGivesTheSameMazeForEver) {
    const uint32_t seed = [] {
        uint32_t s = 0;
        seed_parse("K7QX2M", s);
        return s;
    }();
    struct Vector {
        int rows, cols;
        uint64_t hash[ALGO_COUNT];
    };
    const Vector vectors[] = {
        {25,
         40,
         {0xf0e42e2566650d0bu, 0xc678e98328a3093fu, 0x44c77e8d158dc6e6u, 0x961dbe4b8d4bbcd4u,
          0x83fdffd3f724e3dau}},
        {7,
         300,
         {0x0606f64576ab5e77u, 0x212d6d43509488a2u, 0x5ae0c2dfd272a3c4u, 0x4ccfde7a3b4fd419u,
          0xd21dcff1a4aa87f5u}},
    };
    auto m = std::make_unique<Maze>();
    for (const Vector &v : vectors)
        for (int algo = 0; algo < ALGO_COUNT; algo++) {
            maze_init(m.get(), v.rows, v.cols);
            maze_generate_seeded(m.get(), algo, seed);
            ASSERT_EQ(maze_problems(*m), "");
            EXPECT_EQ(fnv1a(*m), v.hash[algo])
                << ALGO_NAMES[algo] << " " << v.rows << "x" << v.cols;
            maze_generate_seeded(m.get(), algo, seed_next(seed));
            EXPECT_NE(fnv1a(*m), v.hash[algo]) << ALGO_NAMES[algo];
        }
}

TEST(MazeStats, HandCountedMazes) {
    // One dead end (row 1, column 2); the exit's cell is a junction.
    const Art corridor = {
        "#########", //
        "    #   #", //
        "### # # #", //
        "#   # # #", //
        "# ##### #", //
        "#        ", //
        "#########",
    };
    expect_stats(maze_stats(*maze_from_art(corridor)), 1, 1, 8, 66.67, 4, "corridor");
    // A crossing in the middle, a fork right of it, three dead ends.
    const Art crossing = {
        "#######", //
        "  # # #", //
        "# # # #", //
        "#     #", //
        "### # #", //
        "#   #  ", //
        "#######",
    };
    expect_stats(maze_stats(*maze_from_art(crossing)), 3, 2, 5, 55.56, 3, "crossing");
    expect_stats(maze_stats(*maze_from_art({"###", "   ", "###"})), 0, 0, 1, 100, 1, "one cell");
    expect_stats(maze_stats(*maze_from_art({"###########", "           ", "###########"})), 0, 0, 5,
                 100, 5, "one row");
    for (const Art &art : {corridor, crossing}) {
        const MazeStats t = tally(art);
        const MazeStats s = maze_stats(*maze_from_art(art));
        expect_stats(s, t.dead_ends, t.junctions, t.solution_cells, t.solution_percent,
                     t.longest_straight, "tally");
    }
    auto empty = std::make_unique<Maze>();
    maze_init(empty.get(), 0, 5);
    expect_stats(maze_stats(*empty), 0, 0, 0, 0, 0, "no cells");
}

TEST(MazeStats, AgreeWithTheTallyOnEveryAlgorithmsMazes) {
    auto m = std::make_unique<Maze>();
    const int sizes[][2] = {{2, 2}, {5, 7}, {8, 6}, {1, 9}, {9, 1}, {12, 12}};
    for (int algo = 0; algo < ALGO_COUNT; algo++)
        for (uint32_t seed = 0; seed < 20; seed++)
            for (const auto &size : sizes) {
                maze_init(m.get(), size[0], size[1]);
                maze_generate_seeded(m.get(), algo, seed * 977);
                const MazeStats t = tally(art_of(*m));
                expect_stats(maze_stats(*m), t.dead_ends, t.junctions, t.solution_cells,
                             t.solution_percent, t.longest_straight,
                             std::string(ALGO_NAMES[algo]) + " " + std::to_string(seed));
                if (HasFailure()) return;
            }
    char text[120];
    format_stats(text, sizeof text, maze_stats(*maze_from_art({"###", "   ", "###"})));
    EXPECT_STREQ(text, "dead ends 0  junctions 0  solution 1 cells (100.0%)  longest straight 1");
}

} // namespace
