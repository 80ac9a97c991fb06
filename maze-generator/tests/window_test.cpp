// The real window under Xvfb: keys and clicks through xdotool, checks on the
// pixels of real screenshots. The program's status echo (one line per new
// maze, printed after the frame that shows it) says when to look.
#include "config.h"
#include "maze_check.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <regex>
#include <unistd.h>

namespace {

constexpr uint32_t rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}
constexpr uint32_t BACKGROUND = rgb(COLOR_BACKGROUND);
constexpr uint32_t TOOLBAR = rgb(COLOR_TOOLBAR);
constexpr uint32_t WALL = 0x58A6FF; // (88, 166, 255)

struct Rect {
    int x, y, w, h;
};
constexpr Rect button_rect(int i) {
    return {BUTTON_STYLES[i].x, BUTTON_STYLES[i].y, BUTTON_STYLES[i].w, BUTTON_STYLES[i].h};
}

// Pixels in r that differ from colour.
int ink(const Shot &s, Rect r, uint32_t colour) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) n += s.at(x, y) != colour;
    return n;
}

// Leftmost and rightmost columns of r holding a pixel that differs from colour.
std::pair<int, int> ink_columns(const Shot &s, Rect r, uint32_t colour) {
    int lo = -1, hi = -1;
    for (int x = r.x; x < r.x + r.w; x++)
        for (int y = r.y; y < r.y + r.h; y++)
            if (s.at(x, y) != colour) {
                if (lo < 0) lo = x;
                hi = x;
                break;
            }
    return {lo, hi};
}

// The maze as drawn: its frame found by scanning, every cell read back from
// the midpoints of its outermost pixel rows and columns.
struct Drawn {
    int cell = 0;
    std::string problem; // empty when the drawing is a sound, perfect maze that fits
    std::unique_ptr<Maze> maze = std::make_unique<Maze>();
};

Drawn read_maze(const Shot &s, int rows, int cols) {
    Drawn d;
    auto fail = [&](std::string why) {
        d.problem = why;
        return std::move(d);
    };
    if (s.w != WINDOW_W || s.h != WINDOW_H) return fail("window is not 1200x750");
    const int fx = MAZE_X - 1, fy = MAZE_Y - 1; // frame's top-left
    int right = fx, bottom = fy;
    while (right + 1 < s.w && s.at(right + 1, fy) == WALL) right++;
    while (bottom + 1 < s.h && s.at(fx, bottom + 1) == WALL) bottom++;
    if (right + 1 >= s.w || bottom + 1 >= s.h) return fail("frame runs off the window");
    if ((right - MAZE_X) % cols || (bottom - MAZE_Y) % rows) return fail("frame not whole cells");
    const int c = d.cell = (right - MAZE_X) / cols;
    if ((bottom - MAZE_Y) / rows != c) return fail("cells not square");
    for (int x = fx; x <= right; x++)
        if (s.at(x, fy) != WALL || s.at(x, bottom) != WALL) return fail("frame top/bottom gap");
    for (int y = fy; y <= bottom; y++)
        if (s.at(fx, y) != WALL || s.at(right, y) != WALL) return fail("frame side gap");
    for (int y = TOOLBAR_H; y < s.h; y++)
        for (int x = 0; x < s.w; x++) {
            bool inside = x >= fx && x <= right && y >= fy && y <= bottom;
            uint32_t p = s.at(x, y);
            if (!inside && p != BACKGROUND) return fail("drawing outside the frame");
            if (inside && p != BACKGROUND && p != WALL) return fail("pixel of another colour");
        }

    Maze &m = *d.maze;
    maze_init(&m, rows, cols);
    auto line = [&](int x, int y, int w, int h) {
        for (int j = y; j < y + h; j++)
            for (int i = x; i < x + w; i++)
                if (s.at(i, j) != WALL) return false;
        return true;
    };
    for (int i = 0; i < rows; i++) {
        for (int j = 0; j < cols; j++) {
            const int x = MAZE_X + c * j, y = MAZE_Y + c * i, mid = c / 2;
            uint8_t walls = 0;
            if (s.at(x + mid, y) == WALL) walls |= WALL_TOP;
            if (s.at(x + c - 1, y + mid) == WALL) walls |= WALL_RIGHT;
            if (s.at(x + mid, y + c - 1) == WALL) walls |= WALL_BOTTOM;
            if (s.at(x, y + mid) == WALL) walls |= WALL_LEFT;
            if (((walls & WALL_TOP) && !line(x, y, c, 1)) ||
                ((walls & WALL_BOTTOM) && !line(x, y + c - 1, c, 1)) ||
                ((walls & WALL_LEFT) && !line(x, y, 1, c)) ||
                ((walls & WALL_RIGHT) && !line(x + c - 1, y, 1, c)))
                return fail("broken wall line in cell " + std::to_string(i) + "," +
                            std::to_string(j));
            if (ink(s, {x + 1, y + 1, c - 2, c - 2}, BACKGROUND))
                return fail("ink inside cell " + std::to_string(i) + "," + std::to_string(j));
            m.cells[i * MAZE_STRIDE + j] = walls;
        }
    }
    d.problem = maze_problems(m);
    return d;
}

class MazeWindow : public ::testing::Test {
  protected:
    App app;
    std::string window;
    std::string status; // the latest status line

    void SetUp() override {
        app = app_start(MAZE_GENERATOR_EXE, {std::string(ECHO_STATUS_ENV) + "=1"});
        ASSERT_GT(app.pid, 0);
        auto line = app_line(app, 15000);
        ASSERT_TRUE(line) << "no status line at start-up: " << app_stderr(app);
        status = *line;
        window = sh("timeout 10 xdotool search --all --sync --onlyvisible --pid " +
                    std::to_string(app.pid) + " --name '^Drevix Maze Generator$' | head -1");
        while (!window.empty() && window.back() == '\n') window.pop_back();
        ASSERT_FALSE(window.empty()) << "window not found";
        sh("xdotool windowfocus --sync " + window);
    }
    void TearDown() override { app_kill(app); }

    // Sends xdotool commands and waits for the status line of the new maze.
    std::string act(const std::string &xdotool_args) {
        sh("xdotool " + xdotool_args);
        auto line = app_line(app, 10000);
        status = line ? *line : "(no new maze)";
        return status;
    }
    std::string key(const char *k) { return act(std::string("key ") + k); }
    std::string click(int x, int y, int button = 1) {
        return act("mousemove --window " + window + " " + std::to_string(x) + " " +
                   std::to_string(y) + " click " + std::to_string(button));
    }
    void move(int x, int y) {
        sh("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
           std::to_string(y));
    }

    // A screenshot once ok holds, or the last one tried: the server may show a
    // presented frame a moment later.
    Shot shot(const std::function<bool(const Shot &)> &ok = nullptr) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        for (;;) {
            Shot s = screenshot(window);
            if ((s.w == WINDOW_W && (!ok || ok(s))) || std::chrono::steady_clock::now() > deadline)
                return s;
            usleep(50000);
        }
    }
    Shot shot_of_maze(int rows, int cols) {
        return shot([&](const Shot &s) { return read_maze(s, rows, cols).problem.empty(); });
    }
};

TEST_F(MazeWindow, StartsWithToolbarTextAndAPerfectMaze) {
    EXPECT_TRUE(std::regex_match(status, std::regex(R"(80x50  \d+ms  ALGO:RECURSIVE)"))) << status;
    Shot s = shot_of_maze(50, 80);
    ASSERT_EQ(s.w, WINDOW_W);
    ASSERT_EQ(s.h, WINDOW_H);
    EXPECT_EQ(s.at(WINDOW_W - 1, TOOLBAR_H - 1), TOOLBAR);
    EXPECT_EQ(s.at(405, 40), TOOLBAR);
    EXPECT_EQ(s.at(0, TOOLBAR_H), BACKGROUND);
    for (int i = 0; i < BUTTON_COUNT; i++) {
        Rect r = button_rect(i);
        uint32_t fill = rgb(BUTTON_STYLES[i].color);
        EXPECT_EQ(s.at(r.x + 1, r.y + 1), fill) << "button " << i;
        EXPECT_EQ(s.at(r.x + r.w - 1, r.y + r.h - 1), fill) << "button " << i;
        EXPECT_GT(ink(s, r, fill), 60) << "caption of button " << i;
    }
    // The status line and the key help, in their dim grey on the toolbar.
    EXPECT_GT(ink(s, {STATUS_X, 8, HELP_X - STATUS_X - 10, 30}, TOOLBAR), 200);
    EXPECT_GT(ink(s, {HELP_X, 8, WINDOW_W - HELP_X, 30}, TOOLBAR), 200);
    int grey = 0;
    for (int x = STATUS_X; x < WINDOW_W; x++)
        for (int y = 8; y < 38; y++) grey += s.at(x, y) == rgb(COLOR_STATUS);
    EXPECT_GT(grey, 20);

    Drawn d = read_maze(s, 50, 80);
    EXPECT_EQ(d.problem, "");
    EXPECT_EQ(d.cell, 12);
    EXPECT_EQ(s.at(970, 654), WALL); // the frame's bottom-right corner
}

TEST_F(MazeWindow, GenerateDrawsAnotherPerfectMaze) {
    Drawn before = read_maze(shot_of_maze(50, 80), 50, 80);
    ASSERT_EQ(before.problem, "");
    EXPECT_TRUE(std::regex_match(key("g"), std::regex(R"(80x50  \d+ms  ALGO:RECURSIVE)")));
    auto differs = [&](const Shot &s) {
        Drawn d = read_maze(s, 50, 80);
        return d.problem.empty() &&
               std::memcmp(d.maze->cells, before.maze->cells, sizeof before.maze->cells) != 0;
    };
    EXPECT_TRUE(differs(shot(differs)));
    EXPECT_TRUE(std::regex_match(click(60, 24), std::regex(R"(80x50  \d+ms  ALGO:RECURSIVE)")));
}

TEST_F(MazeWindow, AlgorithmKeyAndButtonCycleTheCaption) {
    const Rect algo = button_rect(BUTTON_ALGO);
    const uint32_t fill = rgb(BUTTON_STYLES[BUTTON_ALGO].color);
    const uint32_t hover = rgb(BUTTON_STYLES[BUTTON_ALGO].hover_color);
    Shot start = shot_of_maze(50, 80);
    auto [lo0, hi0] = ink_columns(start, algo, fill);
    const double per_char = (hi0 - lo0 + 1) / 9.0; // "RECURSIVE"

    struct Step {
        const char *name;
        bool by_click;
    };
    for (Step step :
         {Step{"PRIM", false}, {"KRUSKAL", false}, {"RECURSIVE", false}, {"PRIM", true}}) {
        std::string line = step.by_click ? click(200, 24) : key("a");
        EXPECT_TRUE(line.ends_with(std::string("ALGO:") + step.name)) << line;
        const int chars = int(std::strlen(step.name));
        const uint32_t bg = step.by_click ? hover : fill;
        auto caption_fits = [&](const Shot &s) {
            auto [lo, hi] = ink_columns(s, algo, bg);
            return lo > 0 && std::abs((hi - lo + 1) - per_char * chars) < per_char &&
                   std::abs((lo + hi) / 2 - (algo.x + algo.w / 2)) <= 2;
        };
        EXPECT_TRUE(caption_fits(shot(caption_fits))) << step.name;
    }
    // A full turn of the key redraws the caption pixel for pixel.
    move(600, 300);
    key("a");
    key("a");
    Shot again = shot([&](const Shot &s) { return ink_columns(s, algo, fill).first == lo0; });
    for (int y = algo.y; y < algo.y + algo.h; y++)
        for (int x = algo.x; x < algo.x + algo.w; x++)
            ASSERT_EQ(again.at(x, y), start.at(x, y)) << x << "," << y;
}

// One size index serves S and the SIZE button: each continues from the
// other. Every size shows whole and perfect inside the window.
TEST_F(MazeWindow, SizeKeyAndButtonStepTogetherAndEverySizeFits) {
    struct Step {
        bool by_click;
        int rows, cols, cell;
    };
    for (Step step : {Step{false, 60, 100, 11},
                      {true, 75, 120, 9},
                      {false, 100, 160, 6},
                      {true, 25, 40, 12},
                      {false, 30, 50, 12},
                      {false, 40, 65, 12}}) {
        std::string line = step.by_click ? click(340, 24) : key("s");
        std::string size = std::to_string(step.cols) + "x" + std::to_string(step.rows) + "  ";
        ASSERT_TRUE(line.starts_with(size)) << line << " wanted " << size;
        Drawn d = read_maze(shot_of_maze(step.rows, step.cols), step.rows, step.cols);
        EXPECT_EQ(d.problem, "") << size;
        EXPECT_EQ(d.cell, step.cell) << size;
    }
}

// Hover follows the half-open rectangles; clicks that are not a left click
// on a button do nothing.
TEST_F(MazeWindow, HoverEdgesAndIgnoredClicks) {
    auto shows = [&](int hovered) {
        return [hovered](const Shot &s) {
            for (int i = 0; i < BUTTON_COUNT; i++) {
                Rect r = button_rect(i);
                uint32_t want =
                    rgb(i == hovered ? BUTTON_STYLES[i].hover_color : BUTTON_STYLES[i].color);
                if (s.at(r.x + 1, r.y + 1) != want) return false;
            }
            return true;
        };
    };
    struct Case {
        int x, y, hovered;
    };
    for (Case c : {Case{119, 37, 0},
                   {119, 38, -1},
                   {269, 37, 1},
                   {270, 20, -1},
                   {280, 10, 2},
                   {400, 20, -1},
                   {10, 10, 0},
                   {9, 20, -1}}) {
        move(c.x, c.y);
        EXPECT_TRUE(shows(c.hovered)(shot(shows(c.hovered)))) << c.x << "," << c.y;
    }
    // Right click on SIZE, middle click on GENERATE, left click beside the buttons.
    sh("xdotool mousemove --window " + window + " 340 24 click 3 mousemove --window " + window +
       " 60 24 click 2 mousemove --window " + window + " 600 24 click 1");
    EXPECT_FALSE(app_line(app, 800)) << "a maze was made";
    EXPECT_TRUE(key("g").starts_with("80x50  ")) << status;
}

TEST_F(MazeWindow, EscapeQuitsWithStatusZero) {
    sh("xdotool key Escape");
    EXPECT_EQ(app_wait(app, 10000), 0);
}

// Without a usable display the program says why on standard error and fails.
TEST(MazeWindowFailure, NoWindowOrRendererMeansExitOne) {
    struct Case {
        const char *driver, *message;
    };
    for (Case c : {Case{"dummy", "maze-generator: cannot create the renderer"},
                   {"nonesuch", "maze-generator: cannot start SDL video"}}) {
        App app = app_start(MAZE_GENERATOR_EXE, {std::string("SDL_VIDEODRIVER=") + c.driver});
        EXPECT_EQ(app_wait(app, 10000), 1) << c.driver;
        EXPECT_NE(app_stderr(app).find(c.message), std::string::npos) << c.driver;
    }
}

} // namespace
