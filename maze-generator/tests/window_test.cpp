// The real window under Xvfb: keys and clicks through xdotool, checks on the
// pixels of real screenshots. The program's status echo (one line per new
// maze, printed after the frame that shows it) says when to look.
#include "config.h"
#include "maze_check.h"
#include "maze_route.h"
#include "maze_seed.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// The seed at the end of a status line; false when there is none.
bool status_seed(const std::string &s, uint32_t &seed) {
    const size_t at = s.rfind("  seed ");
    return at != s.npos && seed_parse(s.substr(at + 7), seed) && s.size() == at + 7 + SEED_CHARS;
}

// "80x50  <n>ms  ALGO:RECURSIVE  seed <code>": the status line of a fresh
// default maze.
bool default_status(std::string s) {
    uint32_t seed = 0;
    if (!status_seed(s, seed)) return false;
    s.resize(s.size() - 7 - SEED_CHARS);
    const std::string head = "80x50  ", tail = "ms  ALGO:RECURSIVE";
    if (s.size() <= head.size() + tail.size() || s.compare(0, head.size(), head) != 0 ||
        s.compare(s.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    for (size_t i = head.size(); i < s.size() - tail.size(); i++)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

constexpr uint32_t rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}
constexpr uint32_t BACKGROUND = rgb(COLOR_BACKGROUND);
constexpr uint32_t TOOLBAR = rgb(COLOR_TOOLBAR);
constexpr uint32_t WALL = 0x58A6FF; // (88, 166, 255)
constexpr uint32_t PATH = rgb(COLOR_PATH);

struct Rect {
    int x, y, w, h;
};

// Pixels in r that differ from colour.
int ink(const Shot &s, Rect r, uint32_t colour) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) n += s.at(x, y) != colour;
    return n;
}

// Button i as drawn, plain or hovered: its run of fill along its second
// pixel row, which no caption reaches. Empty when it is not there.
Rect button_rect(const Shot &s, int i) {
    const ButtonStyle &b = BUTTON_STYLES[i];
    int lo = -1, hi = -1;
    for (int x = 0; x < s.w; x++) {
        const uint32_t p = s.at(x, BUTTON_Y + 1);
        if (p != rgb(b.color) && p != rgb(b.hover_color)) continue;
        if (lo < 0) lo = x;
        hi = x;
    }
    return lo < 0 ? Rect{} : Rect{lo, BUTTON_Y, hi - lo + 1, BUTTON_H};
}

// Empty when every caption lies inside its button with a pixel of fill all
// round, and the toolbar up to the status line shows nothing else.
std::string caption_problems(const Shot &s) {
    std::vector<Rect> buttons;
    for (int i = 0; i < BUTTON_COUNT; i++) {
        const Rect r = button_rect(s, i);
        if (r.w == 0) return "button " + std::to_string(i) + " not found";
        const uint32_t fill = s.at(r.x, r.y);
        const Rect inner = {r.x + 1, r.y + 1, r.w - 2, r.h - 2};
        if (ink(s, r, fill) != ink(s, inner, fill))
            return "caption of button " + std::to_string(i) + " reaches its edge";
        buttons.push_back(r);
    }
    const int end = buttons.back().x + buttons.back().w + BUTTON_GAP;
    for (int y = 0; y < TOOLBAR_H; y++)
        for (int x = 0; x < end; x++) {
            bool on_button = false;
            for (Rect r : buttons)
                on_button = on_button || (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h);
            if (!on_button && s.at(x, y) != TOOLBAR)
                return "ink outside the buttons at " + std::to_string(x) + "," + std::to_string(y);
        }
    return "";
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

// Pixels of the colour anywhere below the toolbar.
int count_below_toolbar(const Shot &s, uint32_t colour) {
    int n = 0;
    for (int y = TOOLBAR_H; y < s.h; y++)
        for (int x = 0; x < s.w; x++) n += s.at(x, y) == colour;
    return n;
}

// The maze as drawn: its frame found by scanning, every cell read back from
// the midpoints of its outermost pixel rows and columns. The frame must be
// whole but for the entrance and exit gaps; cells on the solution's band
// have their centre pixel in its colour.
struct Drawn {
    int cell = 0;
    std::string problem; // empty when the drawing is a sound, perfect maze that fits
    std::unique_ptr<Maze> maze = std::make_unique<Maze>();
    std::vector<std::pair<int, int>> band; // cells whose centre shows the solution
};

Drawn read_maze(const Shot &s, int rows, int cols, bool solution = false) {
    Drawn d;
    auto fail = [&](std::string why) {
        d.problem = why;
        return std::move(d);
    };
    if (s.w != WINDOW_W || s.h != WINDOW_H) return fail("window is not 1200x750");
    const int fx = MAZE_X - 1, fy = MAZE_Y - 1; // frame's top-left
    int right = fx, bottom = s.h - 1;
    while (right + 1 < s.w && s.at(right + 1, fy) == WALL) right++;
    while (bottom > fy && s.at(fx, bottom) != WALL) bottom--;
    if (right + 1 >= s.w || bottom + 1 >= s.h) return fail("frame runs off the window");
    if ((right - MAZE_X) % cols || (bottom - MAZE_Y) % rows) return fail("frame not whole cells");
    const int c = d.cell = (right - MAZE_X) / cols;
    if ((bottom - MAZE_Y) / rows != c) return fail("cells not square");
    for (int x = fx; x <= right; x++)
        if (s.at(x, fy) != WALL || s.at(x, bottom) != WALL) return fail("frame top/bottom gap");
    // Entrance and exit: the first row's cell less its end pixel rows on the
    // left, the last row's on the right.
    for (int y = fy; y <= bottom; y++) {
        bool entrance = y > MAZE_Y && y < MAZE_Y + c - 1;
        bool exit = y > bottom - c && y < bottom - 1;
        if ((s.at(fx, y) == WALL) == entrance)
            return fail("left frame line wrong at y " + std::to_string(y));
        if ((s.at(right, y) == WALL) == exit)
            return fail("right frame line wrong at y " + std::to_string(y));
    }
    auto allowed = [&](uint32_t p) { return p == BACKGROUND || (solution && p == PATH); };
    for (int y = TOOLBAR_H; y < s.h; y++)
        for (int x = 0; x < s.w; x++) {
            bool inside = x >= fx && x <= right && y >= fy && y <= bottom;
            uint32_t p = s.at(x, y);
            if (!inside && p != BACKGROUND) return fail("drawing outside the frame");
            if (inside && p != WALL && !allowed(p)) return fail("pixel of another colour");
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
            for (int yy = y + 1; yy < y + c - 1; yy++)
                for (int xx = x + 1; xx < x + c - 1; xx++)
                    if (!allowed(s.at(xx, yy)))
                        return fail("ink inside cell " + std::to_string(i) + "," +
                                    std::to_string(j));
            // The openings are drawn only: put them back for the checks.
            if (i == 0 && j == 0) {
                if (walls & WALL_LEFT) return fail("entrance closed");
                walls |= WALL_LEFT;
            }
            if (i == rows - 1 && j == cols - 1) {
                if (walls & WALL_RIGHT) return fail("exit closed");
                walls |= WALL_RIGHT;
            }
            m.cells[i * MAZE_STRIDE + j] = walls;
            if (s.at(x + mid, y + mid) == PATH) d.band.push_back({i, j});
        }
    }
    d.problem = maze_problems(m);
    return d;
}

// Empty when the band on the screen is the solution of the maze drawn: on
// exactly the path's cells, joined from one to the next, and running out
// through the entrance and exit gaps.
std::string band_problems(const Shot &s, const Drawn &d) {
    const Maze &m = *d.maze;
    std::vector<CellPos> path(MAZE_CELLS);
    path.resize(size_t(maze_solve(m, path.data(), MAZE_CELLS)));
    std::set<std::pair<int, int>> want, seen(d.band.begin(), d.band.end());
    for (CellPos p : path) want.insert({p.row, p.col});
    if (want.empty() || seen != want)
        return std::to_string(seen.size()) + " cells on the band, " + std::to_string(want.size()) +
               " on the path";
    const int c = d.cell, mid = c / 2;
    auto centre_x = [&](int col) { return MAZE_X + c * col + mid; };
    auto centre_y = [&](int row) { return MAZE_Y + c * row + mid; };
    for (size_t i = 1; i < path.size(); i++) {
        // Halfway between the two centres, on the edge the path crosses.
        int x = (centre_x(path[i - 1].col) + centre_x(path[i].col)) / 2;
        int y = (centre_y(path[i - 1].row) + centre_y(path[i].row)) / 2;
        if (s.at(x, y) != PATH) return "band broken at step " + std::to_string(i);
    }
    if (s.at(MAZE_X - 1, centre_y(0)) != PATH) return "band does not reach the entrance";
    if (s.at(MAZE_X + c * m.cols, centre_y(m.rows - 1)) != PATH)
        return "band does not reach the exit";
    return "";
}

class MazeWindow : public ::testing::Test {
  protected:
    App app;
    std::string window;
    std::string status; // the latest status line
    std::vector<std::string> env = {std::string(ECHO_STATUS_ENV) + "=1"};

    void SetUp() override {
        app = app_start(MAZE_GENERATOR_EXE, env);
        ASSERT_GT(app.pid, 0);
        auto line = app_line(app, 60000);
        ASSERT_TRUE(line) << "no status line at start-up: " << app_stderr(app);
        status = *line;
        window = sh("timeout 60 xdotool search --all --sync --onlyvisible --pid " +
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
    Shot shot(const std::function<bool(const Shot &)> &ok = nullptr, int seconds = 4) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
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
    Shot shot_of_solution(int rows, int cols) {
        return shot([&](const Shot &s) {
            Drawn d = read_maze(s, rows, cols, true);
            return d.problem.empty() && band_problems(s, d).empty();
        });
    }
};

TEST_F(MazeWindow, StartsWithToolbarTextAndAPerfectMaze) {
    EXPECT_TRUE(default_status(status)) << status;
    Shot s = shot_of_maze(50, 80);
    ASSERT_EQ(s.w, WINDOW_W);
    ASSERT_EQ(s.h, WINDOW_H);
    EXPECT_EQ(s.at(WINDOW_W - 1, TOOLBAR_H - 1), TOOLBAR);
    EXPECT_EQ(s.at(405, 40), TOOLBAR);
    EXPECT_EQ(s.at(0, TOOLBAR_H), BACKGROUND);
    for (int i = 0; i < BUTTON_COUNT; i++) {
        Rect r = button_rect(s, i);
        uint32_t fill = rgb(BUTTON_STYLES[i].color);
        EXPECT_EQ(s.at(r.x + 1, r.y + 1), fill) << "button " << i;
        EXPECT_EQ(s.at(r.x + r.w - 1, r.y + r.h - 1), fill) << "button " << i;
        EXPECT_GT(ink(s, r, fill), 60) << "caption of button " << i;
    }
    EXPECT_EQ(caption_problems(s), "");
    // The status line and the key help, in their dim grey on the toolbar.
    EXPECT_GT(ink(s, {STATUS_X, 8, HELP_X - STATUS_X - 10, 30}, TOOLBAR), 200);
    EXPECT_GT(ink(s, {HELP_X, 8, WINDOW_W - HELP_X, 30}, TOOLBAR), 200);
    // "V:Solution  E:Export  C/^V:Seed" under the key help, a little
    // shorter; below the toolbar read_maze finds nothing but background.
    EXPECT_GT(ink(s, {HELP_X, 32, 250, TOOLBAR_H - 32}, TOOLBAR), 100);
    EXPECT_EQ(ink(s, {HELP_X + 260, 32, WINDOW_W - HELP_X - 260, TOOLBAR_H - 32}, TOOLBAR), 0);
    // The statistics under the status line, clear of the key help.
    EXPECT_GT(ink(s, {STATUS_X, 32, HELP_X - STATUS_X, TOOLBAR_H - 32}, TOOLBAR), 100);
    EXPECT_EQ(ink(s, {HELP_X - 10, 32, 10, TOOLBAR_H - 32}, TOOLBAR), 0);
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
    EXPECT_TRUE(default_status(key("g")));
    auto differs = [&](const Shot &s) {
        Drawn d = read_maze(s, 50, 80);
        return d.problem.empty() &&
               std::memcmp(d.maze->cells, before.maze->cells, sizeof before.maze->cells) != 0;
    };
    EXPECT_TRUE(differs(shot(differs)));
    EXPECT_TRUE(default_status(click(60, 24)));
}

TEST_F(MazeWindow, AlgorithmKeyAndButtonCycleTheCaption) {
    const uint32_t fill = rgb(BUTTON_STYLES[BUTTON_ALGO].color);
    const uint32_t hover = rgb(BUTTON_STYLES[BUTTON_ALGO].hover_color);
    Shot start = shot_of_maze(50, 80);
    const Rect algo = button_rect(start, BUTTON_ALGO);
    auto [lo0, hi0] = ink_columns(start, algo, fill);
    const double per_char = (hi0 - lo0 + 1) / 9.0; // "RECURSIVE"

    struct Step {
        const char *name;
        bool by_click;
    };
    for (Step step :
         {Step{"PRIM", false}, {"KRUSKAL", false}, {"RECURSIVE", false}, {"PRIM", true}}) {
        std::string line = step.by_click ? click(algo.x + algo.w / 2, 24) : key("a");
        EXPECT_NE(line.find(std::string("ALGO:") + step.name + "  seed "), line.npos) << line;
        const int chars = int(std::strlen(step.name));
        const uint32_t bg = step.by_click ? hover : fill;
        auto caption_fits = [&](const Shot &s) {
            auto [lo, hi] = ink_columns(s, algo, bg);
            return lo > 0 && std::abs((hi - lo + 1) - per_char * chars) < per_char &&
                   std::abs((lo + hi) / 2 - (algo.x + algo.w / 2)) <= 2;
        };
        Shot s = shot(caption_fits);
        EXPECT_TRUE(caption_fits(s)) << step.name;
        EXPECT_EQ(caption_problems(s), "") << step.name;
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
                Rect r = button_rect(s, i);
                uint32_t want =
                    rgb(i == hovered ? BUTTON_STYLES[i].hover_color : BUTTON_STYLES[i].color);
                if (r.w == 0 || s.at(r.x + 1, r.y + 1) != want) return false;
            }
            return true;
        };
    };
    Shot start = shot_of_maze(50, 80);
    struct Case {
        int x, y, hovered;
    };
    std::vector<Case> cases;
    for (int i = 0; i < BUTTON_COUNT; i++) {
        const Rect r = button_rect(start, i);
        const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
        for (Case c : {Case{right, bottom, i},
                       {right, bottom + 1, -1},
                       {right + 1, r.y + 10, -1},
                       {r.x, r.y, i},
                       {r.x - 1, r.y + 10, -1},
                       {r.x + 5, r.y - 1, -1}})
            cases.push_back(c);
    }
    for (Case c : cases) {
        move(c.x, c.y);
        EXPECT_TRUE(shows(c.hovered)(shot(shows(c.hovered)))) << c.x << "," << c.y;
    }
    // Right click on SIZE, middle click on GENERATE, left click beside the buttons.
    sh("xdotool mousemove --window " + window + " 340 24 click 3 mousemove --window " + window +
       " 60 24 click 2 mousemove --window " + window + " 600 24 click 1");
    EXPECT_FALSE(app_line(app, 800)) << "a maze was made";
    EXPECT_TRUE(key("g").starts_with("80x50  ")) << status;
}

// The window draws only when something changes: covered by another
// window and uncovered again, it shows the same picture as before.
TEST_F(MazeWindow, UncoveredWindowShowsItsPictureAgain) {
    Shot before = shot_of_maze(50, 80);
    App cover = app_start(MAZE_GENERATOR_EXE, env); // opens on top, in the same place
    ASSERT_TRUE(app_line(cover, 15000)) << app_stderr(cover);
    sh("timeout 10 xdotool search --sync --onlyvisible --pid " + std::to_string(cover.pid) +
       " --name '^Drevix Maze Generator$'");
    usleep(300000);
    app_kill(cover);
    auto same = [&](const Shot &s) { return s.rgb == before.rgb; };
    EXPECT_TRUE(same(shot(same)));
}

// V draws the solution over the maze and leaves everything else as it was;
// it stays for new mazes and other sizes until V again.
TEST_F(MazeWindow, SolutionKeyShowsTheWayOutUntilPressedAgain) {
    Shot plain = shot_of_maze(50, 80);
    ASSERT_EQ(count_below_toolbar(plain, PATH), 0);
    sh("xdotool key v");
    Shot solved = shot_of_solution(50, 80);
    Drawn d = read_maze(solved, 50, 80, true);
    ASSERT_EQ(d.problem, "");
    EXPECT_EQ(band_problems(solved, d), "");
    EXPECT_GT(count_below_toolbar(solved, PATH), 1000);
    // Only the band's pixels changed.
    for (int y = 0; y < WINDOW_H; y++)
        for (int x = 0; x < WINDOW_W; x++)
            if (solved.at(x, y) != PATH) {
                ASSERT_EQ(solved.at(x, y), plain.at(x, y)) << x << "," << y;
            }

    key("g");
    d = read_maze(shot_of_solution(50, 80), 50, 80, true);
    EXPECT_EQ(d.problem, "");
    EXPECT_NE(std::memcmp(d.maze->cells, read_maze(plain, 50, 80).maze->cells, sizeof(Maze::cells)),
              0);
    for (int i = 0; i < 3; i++) key("s"); // to 100 x 160, the smallest cells
    Shot small = shot_of_solution(100, 160);
    Drawn ds = read_maze(small, 100, 160, true);
    EXPECT_EQ(ds.problem, "");
    EXPECT_EQ(band_problems(small, ds), "");
    sh("xdotool key v");
    Shot off = shot([](const Shot &s) { return count_below_toolbar(s, PATH) == 0; });
    EXPECT_EQ(count_below_toolbar(off, PATH), 0);
    EXPECT_EQ(read_maze(off, 100, 160).problem, "");
}

// E writes the maze shown: a scratch HOME gets a Pictures folder with the
// four files, whose PNG has the screen's walls.
class MazeWindowExport : public MazeWindow {
  protected:
    std::filesystem::path home;
    MazeWindowExport() {
        char name[] = "/tmp/maze-window-home-XXXXXX";
        home = mkdtemp(name);
        env.push_back("HOME=" + home.string());
        env.push_back("XDG_PICTURES_DIR=");
        env.push_back("XDG_CONFIG_HOME=");
    }
    ~MazeWindowExport() override { std::filesystem::remove_all(home); }
    std::set<std::string> pictures() {
        std::set<std::string> names;
        std::error_code e;
        for (auto &f : std::filesystem::directory_iterator(home / "Pictures", e))
            names.insert(f.path().filename());
        return names;
    }
};

TEST_F(MazeWindowExport, ExportWritesFourPicturesOfTheMazeShown) {
    Drawn shown = read_maze(shot_of_maze(50, 80), 50, 80);
    ASSERT_EQ(shown.problem, "");
    EXPECT_EQ(key("e"), "SAVED maze-80x50-recursive-1 (4 files) in ~/Pictures");
    EXPECT_EQ(pictures(),
              (std::set<std::string>{"maze-80x50-recursive-1.svg", "maze-80x50-recursive-1.png",
                                     "maze-80x50-recursive-1-solution.svg",
                                     "maze-80x50-recursive-1-solution.png"}));
    for (const char *name : {"maze-80x50-recursive-1.png", "maze-80x50-recursive-1-solution.png"}) {
        Shot png = read_picture((home / "Pictures" / name).string());
        ASSERT_EQ(png.w, 80 * PNG_CELL_PX + 2 * PNG_MARGIN_PX) << name;
        ASSERT_EQ(png.h, 50 * PNG_CELL_PX + 2 * PNG_MARGIN_PX) << name;
        const uint32_t ink = EXPORT_WALL & 0xFFFFFF;
        constexpr int M = PNG_MARGIN_PX, C = PNG_CELL_PX;
        for (int i = 0; i < 50; i++)
            for (int j = 0; j < 80; j++) {
                uint8_t walls = 0;
                if (png.at(M + C * j + C / 2, M + C * i) == ink) walls |= WALL_TOP;
                if (png.at(M + C * (j + 1), M + C * i + C / 2) == ink) walls |= WALL_RIGHT;
                if (png.at(M + C * j + C / 2, M + C * (i + 1)) == ink) walls |= WALL_BOTTOM;
                if (png.at(M + C * j, M + C * i + C / 2) == ink) walls |= WALL_LEFT;
                ASSERT_EQ(walls, maze_drawn_walls(*shown.maze, i, j))
                    << name << " " << i << "," << j;
            }
    }
    // The next export takes the next number, once however long E is held;
    // a new maze shows its own status again.
    EXPECT_EQ(act("keydown e sleep 1.2 keyup e"),
              "SAVED maze-80x50-recursive-2 (4 files) in ~/Pictures");
    EXPECT_FALSE(app_line(app, 500)) << "a held E exported again";
    EXPECT_EQ(pictures().size(), 8u);
    EXPECT_TRUE(default_status(key("g"))) << status;
}

// C puts the seed in the clipboard, where another program reads it; Ctrl+V
// makes the library's maze of a seed there, or says in red that there is
// none and keeps the maze.
TEST_F(MazeWindow, SeedCopiedAndPastedBringsTheMazeBack) {
    uint32_t first = 0, back = 0;
    ASSERT_TRUE(status_seed(status, first)) << status;
    SeedCode code;
    seed_code(first, code);
    EXPECT_EQ(key("c"), std::string("COPIED seed ") + code);
    EXPECT_EQ(sh("timeout 10 xclip -o -selection clipboard"), code);
    key("g");
    EXPECT_TRUE(status_seed(key("ctrl+v"), back) && back == first) << status;
    auto library = std::make_unique<Maze>();
    for (const char *text : {"seed k7qx2m", "hello"}) {
        sh(std::string("printf '") + text +
           "' | timeout 10 xclip -l 3 -selection clipboard >/dev/null 2>&1 &");
        usleep(300000);
        key("ctrl+v");
        maze_init(library.get(), 50, 80);
        seed_parse("K7QX2M", back);
        maze_generate_seeded(library.get(), ALGO_RECURSIVE, back);
        Drawn d = read_maze(shot_of_maze(50, 80), 50, 80); // V stayed off
        EXPECT_EQ(std::memcmp(d.maze->cells, library->cells, sizeof d.maze->cells), 0) << text;
    }
    EXPECT_EQ(status, "NO SEED IN THE CLIPBOARD: 'hello' (six of 0-9 A-Z)");
    const Rect line = {STATUS_X, 8, HELP_X - STATUS_X, 20};
    auto red = [&](const Shot &s) { return line.w * line.h - ink(s, line, rgb(COLOR_ERROR)) > 50; };
    EXPECT_TRUE(red(shot(red)));
}

// Nobody, root included, may create files in sysfs.
class MazeWindowUnwritable : public MazeWindowExport {
  protected:
    MazeWindowUnwritable() {
        for (std::string &v : env)
            if (v.starts_with("XDG_PICTURES_DIR=")) v = "XDG_PICTURES_DIR=/sys";
    }
};

TEST_F(MazeWindowUnwritable, ExportToAnUnwritableFolderSaysWhyInRedAndCarriesOn) {
    EXPECT_TRUE(key("e").starts_with("NOT SAVED: /sys: ")) << status;
    const Rect line = {STATUS_X, 8, HELP_X - STATUS_X, 30}; // some of it in the error colour
    auto red = [&](const Shot &s) { return line.w * line.h - ink(s, line, rgb(COLOR_ERROR)) > 50; };
    EXPECT_TRUE(red(shot(red)));
    // Untouched, the window wakes when the message runs out and shows the
    // status line again.
    auto grey = [&](const Shot &s) { return !red(s) && ink(s, line, TOOLBAR) > 200; };
    EXPECT_TRUE(grey(shot(grey, MESSAGE_MS / 1000 + 4)));
    EXPECT_TRUE(key("g").starts_with("80x50  ")) << status;
    EXPECT_EQ(read_maze(shot_of_maze(50, 80), 50, 80).problem, "");
    sh("xdotool key Escape");
    EXPECT_EQ(app_wait(app, 10000), 0);
    EXPECT_NE(app_stderr(app).find("maze-generator: cannot save in /sys: "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home / "Pictures"));
}

// These tests also run on an X server without GLX (maze_generator_window_no_glx):
// there SDL draws in software, and only there the program says so.
TEST_F(MazeWindow, EscapeQuitsWithStatusZero) {
    sh("xdotool key Escape");
    const int status = app_wait(app, 10000);
    const std::string err = app_stderr(app);
    // A sanitizer's report at exit is what turns the status to 1: show it.
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err.find("drawing in software") != std::string::npos,
              std::getenv("MAZE_WINDOW_NO_GLX") != nullptr);
}

// Without a usable display the program says why on standard error and fails.
TEST(MazeWindowFailure, NoVideoMeansExitOne) {
    App app = app_start(MAZE_GENERATOR_EXE, {"SDL_VIDEODRIVER=nonesuch"});
    EXPECT_EQ(app_wait(app, 10000), 1);
    EXPECT_NE(app_stderr(app).find("maze-generator: cannot start SDL video"), std::string::npos);
}

} // namespace
