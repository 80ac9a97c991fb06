#include "maze.h"
#include "maze_check.h"
#include "maze_route.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Mazes are 90 KB; keep them off the test's stack.
std::unique_ptr<Maze> new_maze(int first, int second) {
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), first, second);
    return m;
}

std::string bytes_of(const Maze &m) {
    return std::string(reinterpret_cast<const char *>(&m), sizeof m);
}

std::string generated(int algo, unsigned seed, int rows, int cols) {
    auto m = new_maze(rows, cols);
    std::srand(seed);
    maze_generate_full(m.get(), algo);
    return bytes_of(*m);
}

TEST(MazeLayout, MatchesTheWindowsView) {
    EXPECT_EQ(offsetof(Maze, rows), 0u);
    EXPECT_EQ(offsetof(Maze, cols), 4u);
    EXPECT_EQ(offsetof(Maze, cells), 8u);
    EXPECT_GE(sizeof(Maze::cells), size_t(MAZE_MAX) * MAZE_STRIDE);
    EXPECT_STREQ(ALGO_NAMES[0], "RECURSIVE");
    EXPECT_STREQ(ALGO_NAMES[1], "PRIM");
    EXPECT_STREQ(ALGO_NAMES[2], "KRUSKAL");
    EXPECT_STREQ(ALGO_NAMES[3], "ALDOUS-BRODER");
}

TEST(MazeInit, SetsRowsThenColumnsAndClosesEveryWall) {
    auto m = new_maze(7, 11);
    EXPECT_EQ(m->rows, 7);
    EXPECT_EQ(m->cols, 11);
    for (int r = 0; r < 7; r++)
        for (int c = 0; c < 11; c++) ASSERT_EQ(maze_cell(*m, r, c), WALL_ALL);
}

TEST(MazeInit, ClampsSizesAndNeverWritesPastTheCells) {
    struct Guarded {
        Maze m;
        uint8_t guard[4096];
    };
    auto g = std::make_unique<Guarded>();
    std::memset(g->guard, 0x5A, sizeof g->guard);
    struct Case {
        int first, second, rows, cols;
    };
    for (Case c : {Case{-5, 10, 0, 10},
                   {10, -1, 10, 0},
                   {301, 5, 300, 5},
                   {5, 1000000, 5, 300},
                   {INT_MIN, INT_MAX, 0, 300},
                   {INT_MAX, INT_MAX, 300, 300}}) {
        maze_init(&g->m, c.first, c.second);
        EXPECT_EQ(g->m.rows, c.rows) << c.first;
        EXPECT_EQ(g->m.cols, c.cols) << c.second;
        for (int algo = 0; algo < ALGO_COUNT; algo++) {
            std::srand(1);
            maze_generate_full(&g->m, algo);
            EXPECT_EQ(maze_problems(g->m), "") << c.first << "," << c.second << " " << algo;
        }
    }
    // Sizes written straight into the struct are clamped by generation too.
    g->m.rows = 100000;
    g->m.cols = -3;
    maze_generate_full(&g->m, 0);
    EXPECT_EQ(g->m.rows, 300);
    EXPECT_EQ(g->m.cols, 0);
    for (uint8_t b : g->guard) ASSERT_EQ(b, 0x5A);
}

TEST(MazeGenerate, EmptyMazesStayEmptyAndValid) {
    for (auto [rows, cols] : {std::pair{0, 5}, {5, 0}, {0, 0}, {0, 300}}) {
        for (int algo = 0; algo < ALGO_COUNT; algo++) {
            auto m = new_maze(rows, cols);
            maze_generate_full(m.get(), algo);
            EXPECT_EQ(m->rows, rows);
            EXPECT_EQ(m->cols, cols);
            EXPECT_EQ(maze_problems(*m), "");
        }
    }
}

TEST(MazeGenerate, NullMazeIsIgnored) {
    maze_init(nullptr, 3, 3);
    maze_generate_full(nullptr, 0);
}

// Every algorithm, many seeds, thin and wide shapes; the same Maze is reused
// without maze_init so regeneration must start from closed walls itself.
TEST(MazeGenerate, EveryAlgorithmMakesPerfectMazes) {
    struct Shape {
        int rows, cols, seeds;
    };
    const Shape shapes[] = {{1, 1, 5},     {1, 2, 20},  {2, 1, 20},  {1, 57, 20},  {57, 1, 20},
                            {2, 2, 50},    {3, 7, 50},  {8, 5, 50},  {25, 40, 20}, {50, 80, 10},
                            {100, 160, 3}, {1, 300, 3}, {300, 1, 3}, {13, 300, 2}, {300, 13, 2}};
    auto m = std::make_unique<Maze>();
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        for (const Shape &s : shapes) {
            maze_init(m.get(), s.rows, s.cols);
            for (int seed = 1; seed <= s.seeds; seed++) {
                std::srand(seed * 7919 + algo);
                maze_generate_full(m.get(), algo);
                ASSERT_EQ(maze_problems(*m), "")
                    << ALGO_NAMES[algo] << " " << s.rows << "x" << s.cols << " seed " << seed;
            }
        }
    }
}

TEST(MazeGenerate, LargestMazeIsPerfectForEveryAlgorithm) {
    auto m = new_maze(MAZE_MAX, MAZE_MAX);
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        std::srand(42 + algo);
        maze_generate_full(m.get(), algo);
        ASSERT_EQ(maze_problems(*m), "") << ALGO_NAMES[algo];
    }
}

TEST(MazeGenerate, TouchesOnlyItsOwnCells) {
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        auto m = new_maze(9, 14);
        std::memset(m->cells, 0xA5, sizeof m->cells);
        maze_generate_full(m.get(), algo);
        for (int i = 0; i < MAZE_MAX * MAZE_STRIDE; i++) {
            int r = i / MAZE_STRIDE, c = i % MAZE_STRIDE;
            if (r >= 9 || c >= 14) {
                ASSERT_EQ(m->cells[i], 0xA5) << ALGO_NAMES[algo] << " " << i;
            }
        }
        EXPECT_EQ(maze_problems(*m), "");
    }
}

TEST(MazeRandomness, SameSeedSameMazeOtherSeedOtherMaze) {
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        std::string a = generated(algo, 1234, 30, 50);
        EXPECT_EQ(a, generated(algo, 1234, 30, 50)) << ALGO_NAMES[algo];
        EXPECT_NE(a, generated(algo, 1235, 30, 50)) << ALGO_NAMES[algo];
    }
}

TEST(MazeRandomness, EachGenerationDrawsFreshNumbers) {
    auto m = new_maze(30, 50);
    std::srand(99);
    maze_generate_full(m.get(), ALGO_KRUSKAL);
    std::string first = bytes_of(*m);
    maze_generate_full(m.get(), ALGO_KRUSKAL);
    EXPECT_NE(bytes_of(*m), first);
}

TEST(MazeRandomness, UnknownAlgorithmFallsBackToTheFirst) {
    std::string expected = generated(ALGO_RECURSIVE, 77, 20, 30);
    for (int algo : {-1, int(ALGO_COUNT), 1000, INT_MIN, INT_MAX})
        EXPECT_EQ(generated(algo, 77, 20, 30), expected) << algo;
}

// The algorithms leave distinct fingerprints: a backtracker's long corridors
// have few dead ends, Prim's bushy growth many. A mix-up in the dispatch or a
// generator that degenerates into another shows here.
TEST(MazeCharacter, DeadEndShareTellsTheAlgorithmsApart) {
    const int rows = 100, cols = 100;
    auto m = new_maze(rows, cols);
    double share[ALGO_COUNT];
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        std::srand(5);
        maze_generate_full(m.get(), algo);
        share[algo] = dead_ends(*m) / double(rows * cols);
    }
    EXPECT_LT(share[ALGO_RECURSIVE], 0.13);
    EXPECT_GT(share[ALGO_PRIM], 0.33);
    for (int algo : {ALGO_KRUSKAL, ALGO_ALDOUS_BRODER, ALGO_WILSON}) {
        EXPECT_GT(share[algo], 0.26) << ALGO_NAMES[algo];
        EXPECT_LT(share[algo], 0.33) << ALGO_NAMES[algo];
    }
}

// Aldous-Broder and Wilson pick every perfect maze with the same chance. A
// 2 x 3 grid has 15 of them; 15,000 draws put each near 1,000.
TEST(MazeCharacter, RandomWalkAlgorithmsAreUniform) {
    for (int algo : {ALGO_ALDOUS_BRODER, ALGO_WILSON}) {
        auto m = new_maze(2, 3);
        std::srand(2024);
        std::map<std::string, int> seen;
        const int draws = 15000;
        for (int i = 0; i < draws; i++) {
            maze_generate_full(m.get(), algo);
            seen[std::string(reinterpret_cast<char *>(m->cells), 3) +
                 std::string(reinterpret_cast<char *>(m->cells) + MAZE_STRIDE, 3)]++;
        }
        ASSERT_EQ(seen.size(), 15u) << ALGO_NAMES[algo];
        double chi2 = 0;
        for (auto &[maze, n] : seen) chi2 += (n - 1000.0) * (n - 1000.0) / 1000.0;
        // 14 degrees of freedom: 36.1 is the 0.1 % tail.
        EXPECT_LT(chi2, 36.1) << ALGO_NAMES[algo];
    }
}

// Empty when path is a way from the entrance cell to the exit cell that
// steps only between neighbours with no wall on either side and enters no
// cell twice.
std::string path_problems(const Maze &m, const std::vector<CellPos> &path) {
    if (path.empty()) return "no path";
    if (path.front().row != 0 || path.front().col != 0) return "does not start at the entrance";
    if (path.back().row != m.rows - 1 || path.back().col != m.cols - 1)
        return "does not end at the exit";
    std::vector<char> seen(size_t(m.rows) * m.cols, 0);
    for (size_t i = 0; i < path.size(); i++) {
        const CellPos p = path[i];
        if (p.row < 0 || p.row >= m.rows || p.col < 0 || p.col >= m.cols) return "off the maze";
        if (seen[size_t(p.row) * m.cols + p.col]++) return "cell visited twice";
        if (i == 0) continue;
        const CellPos q = path[i - 1];
        int dr = p.row - q.row, dc = p.col - q.col;
        uint8_t from = maze_cell(m, q.row, q.col), to = maze_cell(m, p.row, p.col);
        bool open = (dr == 0 && dc == 1 && !(from & WALL_RIGHT) && !(to & WALL_LEFT)) ||
                    (dr == 0 && dc == -1 && !(from & WALL_LEFT) && !(to & WALL_RIGHT)) ||
                    (dr == 1 && dc == 0 && !(from & WALL_BOTTOM) && !(to & WALL_TOP)) ||
                    (dr == -1 && dc == 0 && !(from & WALL_TOP) && !(to & WALL_BOTTOM));
        if (!open) return "step " + std::to_string(i) + " is not through an open wall";
    }
    return "";
}

std::vector<CellPos> solved(const Maze &m) {
    std::vector<CellPos> path(MAZE_CELLS);
    path.resize(size_t(maze_solve(m, path.data(), MAZE_CELLS)));
    return path;
}

// A perfect maze has one way from any cell to any other, so a way without
// repeated cells is the solution.
TEST(MazeSolve, FindsTheWayOutOfEveryAlgorithmsMazesAtEverySize) {
    const std::pair<int, int> shapes[] = {{25, 40},  {30, 50},  {40, 65},   {50, 80},
                                          {60, 100}, {75, 120}, {100, 160}, {1, 1},
                                          {1, 300},  {300, 1},  {2, 2},     {300, 300}};
    auto m = std::make_unique<Maze>();
    for (int algo = 0; algo < ALGO_COUNT; algo++) {
        for (auto [rows, cols] : shapes) {
            maze_init(m.get(), rows, cols);
            for (int seed = 1; seed <= 3; seed++) {
                std::srand(seed * 31 + algo);
                maze_generate_full(m.get(), algo);
                ASSERT_EQ(path_problems(*m, solved(*m)), "")
                    << ALGO_NAMES[algo] << " " << rows << "x" << cols << " seed " << seed;
            }
        }
    }
    // A corridor is walked end to end.
    maze_init(m.get(), 1, 300);
    maze_generate_full(m.get(), ALGO_PRIM);
    EXPECT_EQ(solved(*m).size(), 300u);
}

TEST(MazeSolve, ShortestWayWhenThereAreLoopsAndNoneWhenBlocked) {
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), 4, 6); // every wall closed
    EXPECT_EQ(solved(*m).size(), 0u);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 6; c++)
            m->cells[r * MAZE_STRIDE + c] =
                uint8_t((r == 0 ? WALL_TOP : 0) | (r == 3 ? WALL_BOTTOM : 0) |
                        (c == 0 ? WALL_LEFT : 0) | (c == 5 ? WALL_RIGHT : 0));
    std::vector<CellPos> open = solved(*m);
    EXPECT_EQ(path_problems(*m, open), "");
    EXPECT_EQ(open.size(), 4u + 6u - 1u); // no detours in an open room
    CellPos room[16];
    EXPECT_EQ(maze_solve(*m, room, 8), 0); // more cells than room for them
    // A wall set on one side only still blocks.
    for (int r = 0; r < 4; r++) m->cells[r * MAZE_STRIDE + 2] |= WALL_RIGHT;
    EXPECT_EQ(solved(*m).size(), 0u);
    maze_init(m.get(), 0, 6);
    EXPECT_EQ(solved(*m).size(), 0u);
}

// The entrance and exit are left out of the drawing only.
TEST(MazeSolve, OpeningsAreTheEntranceAndExitBordersOnly) {
    auto m = new_maze(3, 4);
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 4; c++) {
            uint8_t want = WALL_ALL;
            if (r == 0 && c == 0) want &= uint8_t(~WALL_LEFT);
            if (r == 2 && c == 3) want &= uint8_t(~WALL_RIGHT);
            EXPECT_EQ(maze_drawn_walls(*m, r, c), want) << r << "," << c;
        }
    EXPECT_EQ(maze_cell(*m, 0, 0), WALL_ALL);
    auto one = new_maze(1, 1);
    EXPECT_EQ(maze_drawn_walls(*one, 0, 0), WALL_TOP | WALL_BOTTOM);
}

} // namespace
