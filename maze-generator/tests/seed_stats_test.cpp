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
    // A straight run of k cells is 2k - 1 open characters along a line of
    // cells, inside the border.
    const int h = int(art.size()), w = int(art[0].size());
    auto runs = [&](int lines, int length, auto at) {
        for (int i = 1; i < lines; i += 2)
            for (int j = 1, run = 0; j < length - 1; j++) {
                run = at(i, j) == '#' ? 0 : run + 1;
                s.longest_straight = std::max(s.longest_straight, (run + 1) / 2);
            }
    };
    runs(h, w, [&](int i, int j) { return art[i][j]; });
    runs(w, h, [&](int i, int j) { return art[j][i]; });
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

// The figures as text, so a mismatch shows them all.
std::string str(const MazeStats &s) {
    char text[160];
    format_stats(text, sizeof text, s);
    return text;
}

uint64_t fnv1a(const Maze &m) {
    uint64_t h = 0xcbf29ce484222325u;
    for (int r = 0; r < m.rows; r++)
        for (int c = 0; c < m.cols; c++) h = (h ^ maze_cell(m, r, c)) * 0x100000001b3u;
    return h;
}

TEST(MazeSeed, CodesReadBackAndForgiveWhatPaperConfuses) {
    SeedCode code;
    uint32_t back = 0, other = 1;
    for (uint32_t seed : {0u, 31u, 32u, 123456789u, SEED_LIMIT - 1}) {
        seed_code(seed, code);
        EXPECT_TRUE(seed_parse(code, back) && back == seed) << code;
    }
    EXPECT_STREQ(code, "ZZZZZZ");
    seed_code(SEED_LIMIT + 5, code); // wraps as the generator does
    EXPECT_STREQ(code, "000005");
    EXPECT_TRUE(seed_parse("K7QX2M", back) && seed_parse("  seed k7qx2m\n", other));
    EXPECT_EQ(back, other);
    EXPECT_TRUE(seed_parse("oIl000", back) && seed_parse("011000", other));
    EXPECT_EQ(back, other);
    for (const char *bad : {"", "K7QX2", "K7QX2MM", "K7QX-M", "K7QU2M", "seedK7QX2M", "K7 QX2M"})
        EXPECT_FALSE(seed_parse(bad, back)) << bad;
}

// Pinned: these hashes must never change, or every seed printed on a
// worksheet would lead to another maze.
TEST(MazeSeed, SameSeedGivesTheSameMazeForEver) {
    uint32_t seed = 0;
    seed_parse("K7QX2M", seed);
    const struct {
        int rows, cols;
        uint64_t hash[ALGO_COUNT];
    } vectors[] = {
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
    for (const auto &v : vectors)
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

// The tally checked by hand first, then the library against the tally.
TEST(MazeStats, HandCountedMazes) {
    const Art corridor = {"#########", // one dead end (row 1, column 2); the
                          "    #   #", // exit's cell is a junction
                          "### # # #", //
                          "#   # # #", //
                          "# ##### #", //
                          "#        ", //
                          "#########"};
    const Art crossing = {"#######", // a crossing, a fork right of it,
                          "  # # #", // three dead ends
                          "# # # #", //
                          "#     #", //
                          "### # #", //
                          "#   #  ", //
                          "#######"};
    const Art one_row = {"###########", "           ", "###########"};
    const struct {
        const Art &art;
        MazeStats want;
    } cases[] = {{corridor, {1, 1, 8, 800.0 / 12, 4}},
                 {crossing, {3, 2, 5, 500.0 / 9, 3}},
                 {one_row, {0, 0, 5, 100, 5}}};
    for (const auto &c : cases) {
        EXPECT_EQ(str(tally(c.art)), str(c.want));
        EXPECT_EQ(str(maze_stats(*maze_from_art(c.art))), str(c.want));
    }
    auto empty = std::make_unique<Maze>();
    maze_init(empty.get(), 0, 5);
    EXPECT_EQ(str(maze_stats(*empty)), str({0, 0, 0, 0, 0}));
}

TEST(MazeStats, AgreeWithTheTallyOnEveryAlgorithmsMazes) {
    auto m = std::make_unique<Maze>();
    const int sizes[][2] = {{1, 1}, {2, 2}, {5, 7}, {8, 6}, {1, 9}, {9, 1}, {12, 12}};
    for (int algo = 0; algo < ALGO_COUNT; algo++)
        for (uint32_t seed = 0; seed < 20; seed++)
            for (const auto &size : sizes) {
                maze_init(m.get(), size[0], size[1]);
                maze_generate_seeded(m.get(), algo, seed * 977);
                ASSERT_EQ(str(maze_stats(*m)), str(tally(art_of(*m))))
                    << ALGO_NAMES[algo] << " " << seed;
            }
}

} // namespace
