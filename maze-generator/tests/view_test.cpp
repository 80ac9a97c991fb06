#include "controls.h"
#include "layout.h"
#include "maze_check.h"
#include "maze_seed.h"
#include "status.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A clock that moves 5 ms on every reading.
uint32_t now_ms;
uint32_t ticking_clock() {
    return now_ms += 5;
}

bool eq(SDL_Rect a, SDL_Rect b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

struct Window {
    std::unique_ptr<Maze> maze = std::make_unique<Maze>();
    ViewState state{};
    Window() { view_start(state, *maze, nullptr, ticking_clock); }
    void act(Action a) { apply_action(state, *maze, a, ticking_clock); }
};

std::string seed_of(const Window &w) {
    SeedCode code;
    seed_code(w.state.seed, code);
    return code;
}

// Every new maze has its own seed, in the status line, and its own figures,
// which fit before the key help even for the largest window mazes (8
// pixels a character in the status font).
TEST(Controls, SeedAndStatisticsFollowEveryMaze) {
    Window w;
    while (w.state.size_idx != int(MAZE_SIZES.size()) - 1) w.act(ACT_NEXT_SIZE);
    char text[STATUS_BYTES];
    for (int i = 0; i < 3 * WINDOW_ALGOS; i++, w.act(i % 3 ? ACT_GENERATE : ACT_NEXT_ALGO)) {
        status_line(text, w.state, *w.maze, 0);
        EXPECT_TRUE(std::string(text).ends_with("  seed " + seed_of(w))) << text;
        char counted[STATUS_BYTES];
        format_stats_line(counted, maze_stats(*w.maze));
        format_stats_line(text, w.state.stats);
        EXPECT_STREQ(text, counted);
        EXPECT_LE(std::strlen(text) * 8 + BUTTON_GAP, size_t(HELP_X - status_x(w.state.buttons)))
            << text;
    }
}

TEST(Controls, StartsWithRecursiveAtFiftyByEighty) {
    Window w;
    EXPECT_EQ(w.maze->rows, 50);
    EXPECT_EQ(w.maze->cols, 80);
    EXPECT_EQ(maze_problems(*w.maze), "");
    EXPECT_STREQ(w.state.buttons[BUTTON_ALGO].label, "RECURSIVE");
    EXPECT_STREQ(w.state.buttons[BUTTON_GENERATE].label, "GENERATE [G]");
    EXPECT_STREQ(w.state.buttons[BUTTON_SIZE].label, "SIZE [S]");
    EXPECT_EQ(w.state.hovered, -1);
    EXPECT_EQ(w.state.running, 1);
    EXPECT_EQ(w.state.gen_ms, 5u); // one clock step between the readings around generation
}

TEST(Controls, AlgorithmCyclesThroughTheFirstThree) {
    Window w;
    const char *expected[] = {"PRIM", "KRUSKAL", "RECURSIVE", "PRIM"};
    for (const char *name : expected) {
        w.act(ACT_NEXT_ALGO);
        EXPECT_STREQ(w.state.buttons[BUTTON_ALGO].label, name);
        EXPECT_STREQ(ALGO_NAMES[w.state.algo], name);
        EXPECT_EQ(maze_problems(*w.maze), "");
    }
}

// The S key and the SIZE button both send ACT_NEXT_SIZE, so one index serves
// both: a click after a key press goes on to the next size.
TEST(Controls, SizeStepsThroughAllSevenAndWraps) {
    Window w;
    const SizePair expected[] = {{60, 100}, {75, 120}, {100, 160}, {25, 40},
                                 {30, 50},  {40, 65},  {50, 80}};
    for (SizePair size : expected) {
        w.act(ACT_NEXT_SIZE);
        EXPECT_EQ(w.maze->rows, size.first);
        EXPECT_EQ(w.maze->cols, size.second);
        EXPECT_EQ(maze_problems(*w.maze), "");
    }
    EXPECT_EQ(button_action(BUTTON_SIZE), ACT_NEXT_SIZE);
}

TEST(Controls, GenerateKeepsSizeAndAlgorithmButMakesANewMaze) {
    Window w;
    w.act(ACT_NEXT_ALGO);
    std::vector<uint8_t> before(w.maze->cells, w.maze->cells + sizeof w.maze->cells);
    w.act(ACT_GENERATE);
    EXPECT_EQ(w.maze->rows, 50);
    EXPECT_EQ(w.state.algo, 1);
    EXPECT_NE(std::memcmp(before.data(), w.maze->cells, before.size()), 0);
}

TEST(Controls, QuitAndNothingLeaveTheMazeAlone) {
    Window w;
    std::vector<uint8_t> before(w.maze->cells, w.maze->cells + sizeof w.maze->cells);
    EXPECT_FALSE(apply_action(w.state, *w.maze, ACT_NONE, ticking_clock));
    EXPECT_EQ(w.state.running, 1);
    EXPECT_FALSE(apply_action(w.state, *w.maze, ACT_QUIT, ticking_clock));
    EXPECT_EQ(w.state.running, 0);
    EXPECT_EQ(std::memcmp(before.data(), w.maze->cells, before.size()), 0);
}

// V keeps the maze as it is; the solution stays on for new mazes of any
// size or algorithm until V again.
TEST(Controls, SolutionSwitchOutlivesNewMazes) {
    Window w;
    EXPECT_EQ(w.state.show_solution, 0);
    std::vector<uint8_t> before(w.maze->cells, w.maze->cells + sizeof w.maze->cells);
    EXPECT_FALSE(apply_action(w.state, *w.maze, ACT_SOLUTION, ticking_clock));
    EXPECT_EQ(std::memcmp(before.data(), w.maze->cells, before.size()), 0);
    for (Action a : {ACT_GENERATE, ACT_NEXT_ALGO, ACT_NEXT_SIZE, ACT_EXPORT}) {
        w.act(a);
        EXPECT_EQ(w.state.show_solution, 1) << a;
    }
    w.act(ACT_SOLUTION);
    EXPECT_EQ(w.state.show_solution, 0);
}

// Without fonts the buttons take their least widths: 110, 110 and 100 from
// x = 10, ten pixels apart.
TEST(Controls, ButtonHitTestExcludesRightAndBottomEdges) {
    Window w;
    struct Case {
        int x, y, button;
    };
    for (Case c : {Case{10, 10, 0},
                   {119, 37, 0},
                   {119, 38, -1},
                   {120, 20, -1},
                   {9, 20, -1},
                   {10, 9, -1},
                   {130, 10, 1},
                   {239, 37, 1},
                   {240, 20, -1},
                   {250, 20, 2},
                   {349, 37, 2},
                   {350, 20, -1},
                   {600, 20, -1},
                   {50, 400, -1}})
        EXPECT_EQ(button_at(w.state.buttons, c.x, c.y), c.button) << c.x << "," << c.y;
    EXPECT_EQ(button_action(button_at(w.state.buttons, 60, 20)), ACT_GENERATE);
    EXPECT_EQ(button_action(button_at(w.state.buttons, 200, 20)), ACT_NEXT_ALGO);
    EXPECT_EQ(button_action(-1), ACT_NONE);
}

TEST(Status, ColumnsBeforeRows) {
    char text[STATUS_BYTES];
    format_status(text, 80, 50, 7, "RECURSIVE");
    EXPECT_STREQ(text, "80x50  7ms  ALGO:RECURSIVE");
    format_status(text, 0, 0, 0, nullptr);
    EXPECT_STREQ(text, "0x0  0ms  ALGO:");
}

TEST(Status, LongTextIsCutToTheBuffer) {
    char text[STATUS_BYTES];
    std::string name(400, 'X');
    format_status(text, 1, 2, 3, name.c_str());
    EXPECT_EQ(std::strlen(text), size_t(STATUS_BYTES - 1));
    EXPECT_EQ(std::string(text, 15), "1x2  3ms  ALGO:");
}

// An export's message replaces the status line for MESSAGE_MS, also when
// the tick counter wraps in between, or until a new maze. The window is told
// to wake exactly when it runs out, and not at all without one.
TEST(Status, MessageShowsForAWhileThenTheStatusReturns) {
    Window w;
    char text[STATUS_BYTES];
    EXPECT_EQ(status_wait_ms(w.state, 1000), -1);
    for (uint32_t start : {1000u, 0xFFFFFFFFu - 100}) {
        show_message(w.state, "SAVED maze-80x50-recursive-1 (4 files)", start);
        status_line(text, w.state, *w.maze, start);
        EXPECT_STREQ(text, "SAVED maze-80x50-recursive-1 (4 files)");
        EXPECT_EQ(status_wait_ms(w.state, start + 1), int(MESSAGE_MS) - 1);
        status_line(text, w.state, *w.maze, start + MESSAGE_MS - 1);
        EXPECT_STREQ(text, "SAVED maze-80x50-recursive-1 (4 files)");
        EXPECT_EQ(status_wait_ms(w.state, start + MESSAGE_MS - 1), 1);
        status_line(text, w.state, *w.maze, start + MESSAGE_MS);
        EXPECT_EQ(text, "80x50  5ms  ALGO:RECURSIVE  seed " + seed_of(w));
        EXPECT_EQ(status_wait_ms(w.state, start + MESSAGE_MS), -1);
    }
    // A new maze's time shows at once.
    show_message(w.state, "SAVED maze-80x50-recursive-1 (4 files)", 1000);
    w.act(ACT_GENERATE);
    status_line(text, w.state, *w.maze, 1001);
    EXPECT_EQ(text, "80x50  5ms  ALGO:RECURSIVE  seed " + seed_of(w));
}

TEST(Layout, SmallMazesKeepTwelvePixelCells) {
    for (int i = 0; i <= START_SIZE_IDX; i++) {
        MazeLayout l = maze_layout(MAZE_SIZES[i].first, MAZE_SIZES[i].second);
        EXPECT_EQ(l.cell, 12) << i;
        EXPECT_EQ(l.x, 10);
        EXPECT_EQ(l.y, 54);
    }
    EXPECT_EQ(maze_layout(0, 0).cell, 12);
    EXPECT_EQ(maze_layout(0, 80).cell, 12);
}

// Every size of the window, frame included, lies below the toolbar and
// inside the window, with cells as large as allow that.
TEST(Layout, EverySizeFitsWithTheLargestWholeCell) {
    auto fits = [](int rows, int cols, int cell) {
        MazeLayout l{cell, MAZE_X, MAZE_Y};
        auto f = maze_frame_rects(rows, cols, l);
        int right = f[3].x, bottom = f[1].y;
        return f[0].y >= TOOLBAR_H && right <= WINDOW_W - 1 - MAZE_MARGIN &&
               bottom <= WINDOW_H - 1 - MAZE_MARGIN;
    };
    const int expected_cells[] = {12, 12, 12, 12, 11, 9, 6};
    for (int i = 0; i < int(MAZE_SIZES.size()); i++) {
        auto [rows, cols] = MAZE_SIZES[i];
        MazeLayout l = maze_layout(rows, cols);
        EXPECT_EQ(l.cell, expected_cells[i]) << rows << "x" << cols;
        EXPECT_TRUE(fits(rows, cols, l.cell)) << rows << "x" << cols;
        if (l.cell < CELL_PX) {
            EXPECT_FALSE(fits(rows, cols, l.cell + 1)) << rows << "x" << cols;
        }
    }
}

// The side lines stop for the entrance (first row, left) and the exit (last
// row, right), keeping the pixel rows of the cell's own top and bottom walls.
TEST(Layout, FrameHugsTheCellsAndOpensForEntranceAndExit) {
    auto f = maze_frame_rects(50, 80, maze_layout(50, 80));
    EXPECT_TRUE(eq(f[0], {9, 53, 962, 1}));
    EXPECT_TRUE(eq(f[1], {9, 654, 962, 1}));
    EXPECT_TRUE(eq(f[2], {9, 53, 1, 2}));     // gap y 55..64
    EXPECT_TRUE(eq(f[3], {9, 65, 1, 590}));   // to 654
    EXPECT_TRUE(eq(f[4], {970, 53, 1, 590})); // to 642, gap y 643..652
    EXPECT_TRUE(eq(f[5], {970, 653, 1, 2}));
    auto empty = maze_frame_rects(0, 0, maze_layout(0, 0));
    EXPECT_TRUE(eq(empty[0], {9, 53, 2, 1}));
    EXPECT_TRUE(eq(empty[2], {9, 53, 1, 2}));
    EXPECT_TRUE(eq(empty[4], {10, 53, 1, 2}));
    EXPECT_EQ(empty[3].h + empty[5].h, 0);
}

// Each wall flag gives one line on its cell's outermost pixels, so the lines
// of two neighbours lie side by side.
TEST(Layout, WallLinesSitOnTheCellsOuterPixels) {
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), 2, 3);
    m->cells[0 * MAZE_STRIDE + 0] = WALL_TOP | WALL_LEFT; // the entrance: no left line
    m->cells[0 * MAZE_STRIDE + 1] = WALL_RIGHT | WALL_LEFT;
    m->cells[0 * MAZE_STRIDE + 2] = 0;
    m->cells[1 * MAZE_STRIDE + 0] = 0;
    m->cells[1 * MAZE_STRIDE + 1] = 0;
    m->cells[1 * MAZE_STRIDE + 2] =
        WALL_BOTTOM | WALL_RIGHT | 0xF0; // the exit; high bits draw nothing
    MazeLayout l = maze_layout(2, 3);
    SDL_Rect r[16];
    ASSERT_EQ(maze_wall_rects(*m, l, r, 16), 4);
    EXPECT_TRUE(eq(r[0], {10, 54, 12, 1}));      // (0,0) top
    EXPECT_TRUE(eq(r[1], {22, 54, 1, 12}));      // (0,1) left
    EXPECT_TRUE(eq(r[2], {33, 54, 1, 12}));      // (0,1) right
    EXPECT_TRUE(eq(r[3], {34, 66 + 11, 12, 1})); // (1,2) bottom
    EXPECT_EQ(maze_wall_rects(*m, l, r, 2), 2);  // never past the capacity
}

// At every size of the window the solution's band touches no wall or frame
// pixel and runs as one piece from the entrance gap to the exit gap.
TEST(Layout, SolutionBandRunsClearOfTheWallsFromGapToGap) {
    auto m = std::make_unique<Maze>();
    std::vector<SDL_Rect> rects(MAX_WALL_RECTS), band(MAZE_CELLS + 1);
    std::vector<CellPos> path(MAZE_CELLS);
    for (auto [rows, cols] : MAZE_SIZES) {
        maze_init(m.get(), rows, cols);
        std::srand(unsigned(rows));
        maze_generate_full(m.get(), ALGO_WILSON);
        MazeLayout l = maze_layout(rows, cols);
        std::vector<uint8_t> px(size_t(WINDOW_W) * WINDOW_H, 0); // 1 wall, 2 band
        auto paint = [&](const SDL_Rect &r, uint8_t v) {
            for (int y = r.y; y < r.y + r.h; y++)
                for (int x = r.x; x < r.x + r.w; x++) {
                    uint8_t &p = px[size_t(y) * WINDOW_W + x];
                    if (v == 2 && p == 1) return false;
                    p = v;
                }
            return true;
        };
        int walls = maze_wall_rects(*m, l, rects.data(), MAX_WALL_RECTS);
        for (int i = 0; i < walls; i++) paint(rects[i], 1);
        for (const SDL_Rect &r : maze_frame_rects(rows, cols, l)) paint(r, 1);
        int steps = maze_solve(*m, path.data(), MAZE_CELLS);
        int n = maze_path_rects(path.data(), steps, rows, cols, l, band.data(), MAZE_CELLS + 1);
        ASSERT_EQ(n, steps + 1) << rows << "x" << cols;
        for (int i = 0; i < n; i++)
            ASSERT_TRUE(paint(band[i], 2)) << rows << "x" << cols << " " << i;
        // Flood the band from its pixel in the entrance gap.
        const int left = l.x - 1, right = l.x + l.cell * cols;
        std::vector<int> todo;
        for (int y = l.y; y < l.y + l.cell; y++)
            if (px[size_t(y) * WINDOW_W + left] == 2) todo.push_back(y * WINDOW_W + left);
        ASSERT_FALSE(todo.empty()) << "band misses the entrance " << rows << "x" << cols;
        long band_px = std::count(px.begin(), px.end(), 2), reached = 0;
        bool at_exit = false;
        for (int k : todo) px[size_t(k)] = 3;
        while (!todo.empty()) {
            int k = todo.back();
            todo.pop_back();
            reached++;
            at_exit = at_exit || k % WINDOW_W == right;
            for (int next : {k - 1, k + 1, k - WINDOW_W, k + WINDOW_W})
                if (px[size_t(next)] == 2) {
                    px[size_t(next)] = 3;
                    todo.push_back(next);
                }
        }
        EXPECT_EQ(reached, band_px) << "band in pieces " << rows << "x" << cols;
        EXPECT_TRUE(at_exit) << "band misses the exit " << rows << "x" << cols;
    }
}

} // namespace
