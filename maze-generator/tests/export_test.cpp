// The export's files, read back by other tools: the SVG through an XML
// parser and through rsvg-convert's rendering, the PNG through ImageMagick.
// Each must show exactly the maze's walls with the entrance and exit open,
// and the solution files the solver's path.
#include "export.h"
#include "maze_check.h"
#include "maze_route.h"
#include "png_file.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path dir;
    Scratch() {
        char name[] = "/tmp/maze-export-test-XXXXXX";
        dir = mkdtemp(name);
    }
    ~Scratch() { fs::remove_all(dir); }
};

std::set<std::string> files_in(const fs::path &dir) {
    std::set<std::string> names;
    if (fs::is_directory(dir))
        for (auto &e : fs::directory_iterator(dir)) names.insert(e.path().filename());
    return names;
}

// ('h', x, y): the edge from (x, y) to (x + 1, y); ('v', x, y): to (x, y + 1).
using Edges = std::set<std::tuple<char, int, int>>;

// Every edge with a wall flag, the whole border less the entrance (left of
// the top-left cell) and the exit (right of the bottom-right cell).
Edges maze_walls(const Maze &m) {
    Edges e;
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x < m.cols; x++)
            if (y == 0 || y == m.rows || (maze_cell(m, y, x) & WALL_TOP)) e.insert({'h', x, y});
    for (int x = 0; x <= m.cols; x++)
        for (int y = 0; y < m.rows; y++)
            if (x == 0        ? y != 0
                : x == m.cols ? y != m.rows - 1
                              : bool(maze_cell(m, y, x) & WALL_LEFT))
                e.insert({'v', x, y});
    return e;
}

std::set<std::pair<int, int>> path_cells(const Maze &m) {
    std::vector<CellPos> path(MAZE_CELLS);
    path.resize(size_t(maze_solve(m, path.data(), MAZE_CELLS)));
    std::set<std::pair<int, int>> cells;
    for (CellPos p : path) cells.insert({p.row, p.col});
    return cells;
}

// A picture of the maze with cell edge u at the pixel boundary origin + k*u:
// an edge is a wall when a pixel on either side of its midpoint is wall ink;
// a cell is on the path when its centre pixel is path ink.
struct Read {
    Edges walls;
    std::set<std::pair<int, int>> path;
};
template <class Wall, class Path>
Read read_picture_of(const Shot &s, const Maze &m, int origin, int k, Wall is_wall, Path is_path) {
    Read r;
    auto wall = [&](int x0, int y0, int x1, int y1) {
        return is_wall(s.at(x0, y0)) || is_wall(s.at(x1, y1));
    };
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x < m.cols; x++) {
            int px = origin + k * x + k / 2, py = origin + k * y;
            if (wall(px, py - 1, px, py)) r.walls.insert({'h', x, y});
        }
    for (int x = 0; x <= m.cols; x++)
        for (int y = 0; y < m.rows; y++) {
            int px = origin + k * x, py = origin + k * y + k / 2;
            if (wall(px - 1, py, px, py)) r.walls.insert({'v', x, y});
        }
    for (int y = 0; y < m.rows; y++)
        for (int x = 0; x < m.cols; x++)
            if (is_path(s.at(origin + k * x + k / 2, origin + k * y + k / 2)))
                r.path.insert({y, x});
    return r;
}

struct Svg {
    std::string problem;
    std::map<std::string, std::string> fields;
    Edges walls;
    int repeated = 0;
    std::vector<std::string> points;
};

Svg read_svg(const fs::path &file) {
    Svg svg;
    std::istringstream out(sh("/usr/bin/python3 " SVG_WALLS_PY " '" + file.string() + "' 2>&1"));
    std::string key;
    while (out >> key) {
        std::string rest;
        std::getline(out, rest);
        if (!rest.empty()) rest.erase(0, 1);
        if (key == "h" || key == "v") {
            int x = 0, y = 0;
            std::istringstream(rest) >> x >> y;
            svg.repeated += !svg.walls.insert({key[0], x, y}).second;
        } else if (key == "point") {
            svg.points.push_back(rest);
        } else if (key == "width" || key == "height" || key == "viewbox" || key == "title" ||
                   key == "stroke") {
            svg.fields[key] = rest;
        } else {
            svg.problem += key + " " + rest + "\n";
        }
    }
    return svg;
}

bool grey_ink(uint32_t p) {
    int r = p >> 16, g = p >> 8 & 255, b = p & 255;
    return r < 200 && std::abs(r - g) < 40 && std::abs(g - b) < 40;
}
bool red_ink(uint32_t p) {
    return (p >> 16) > 150 && (p >> 8 & 255) < 110 && (p & 255) < 110;
}

double mm(const std::string &length) {
    return length.ends_with("mm") ? std::atof(length.c_str()) : -1;
}

// Both SVGs and both PNGs of one export, checked against the maze.
void check_export(const Maze &m, int algo, const fs::path &dir, const std::string &stem) {
    const std::string size = std::to_string(m.cols) + "x" + std::to_string(m.rows);
    const Edges walls = maze_walls(m);
    const auto path = path_cells(m);
    for (bool solution : {false, true}) {
        const std::string name = stem + (solution ? "-solution" : "");
        SCOPED_TRACE(name);
        const fs::path svg_file = dir / (name + ".svg"), png_file = dir / (name + ".png");

        Svg svg = read_svg(svg_file);
        ASSERT_EQ(svg.problem, "");
        EXPECT_EQ(svg.fields["title"],
                  "Maze " + size + ", " + ALGO_NAMES[algo] + (solution ? ", solution" : ""));
        EXPECT_EQ(svg.fields["viewbox"],
                  "-1 -1 " + std::to_string(m.cols + 2) + " " + std::to_string(m.rows + 2));
        // Fills the printable part of an A4 page (10 mm margins) one way or the other.
        double w = mm(svg.fields["width"]), h = mm(svg.fields["height"]);
        double long_side = std::max(w, h), short_side = std::min(w, h);
        EXPECT_TRUE(long_side <= 277.01 && short_side <= 190.01 &&
                    (long_side > 276.9 || short_side > 189.9))
            << w << " x " << h;
        EXPECT_NEAR(w / h, (m.cols + 2.0) / (m.rows + 2.0), 0.01);
        EXPECT_TRUE(svg.walls == walls);
        EXPECT_EQ(svg.repeated, 0);
        // A stroke printers draw well: 0.25 mm at least, a tenth of a cell at most when that is
        // more.
        double stroke_mm = std::atof(svg.fields["stroke"].c_str()) * w / (m.cols + 2);
        EXPECT_GE(stroke_mm, 0.249);
        if (solution) {
            std::vector<std::string> want = {"0 0.5"};
            std::vector<CellPos> steps(MAZE_CELLS);
            steps.resize(size_t(maze_solve(m, steps.data(), MAZE_CELLS)));
            for (CellPos p : steps)
                want.push_back(std::to_string(p.col) + ".5 " + std::to_string(p.row) + ".5");
            want.push_back(std::to_string(m.cols) + " " + std::to_string(m.rows - 1) + ".5");
            EXPECT_TRUE(svg.points == want);
        } else {
            EXPECT_TRUE(svg.points.empty());
        }

        // Rendered at 10 pixels per cell: the viewBox's -1 lands on pixel 0.
        const fs::path render = dir / (name + "-rendered.png");
        const int k = 10;
        sh("rsvg-convert -b white -w " + std::to_string((m.cols + 2) * k) + " -h " +
           std::to_string((m.rows + 2) * k) + " -o '" + render.string() + "' '" +
           svg_file.string() + "'");
        Shot r = read_picture(render);
        fs::remove(render);
        ASSERT_EQ(r.w, (m.cols + 2) * k) << "rsvg-convert rendered nothing";
        ASSERT_EQ(r.h, (m.rows + 2) * k);
        Read seen = read_picture_of(r, m, k, k, grey_ink, red_ink);
        EXPECT_TRUE(seen.walls == walls) << "rendered SVG";
        EXPECT_TRUE(seen.path == (solution ? path : decltype(path){})) << "rendered SVG";

        Shot png = read_picture(png_file);
        ASSERT_EQ(png.w, 2 * PNG_MARGIN_PX + PNG_CELL_PX * m.cols);
        ASSERT_EQ(png.h, 2 * PNG_MARGIN_PX + PNG_CELL_PX * m.rows);
        const uint32_t wall = EXPORT_WALL & 0xFFFFFF, route = EXPORT_PATH & 0xFFFFFF;
        int others = 0;
        for (int y = 0; y < png.h; y++)
            for (int x = 0; x < png.w; x++) {
                uint32_t p = png.at(x, y);
                others += p != wall && p != (EXPORT_BACKGROUND & 0xFFFFFF) && p != route;
            }
        EXPECT_EQ(others, 0) << "PNG pixels of a fourth colour";
        seen = read_picture_of(
            png, m, PNG_MARGIN_PX, PNG_CELL_PX, [&](uint32_t p) { return p == wall; },
            [&](uint32_t p) { return p == route; });
        EXPECT_TRUE(seen.walls == walls) << "PNG";
        EXPECT_TRUE(seen.path == (solution ? path : decltype(path){})) << "PNG";
    }
}

TEST(Export, FilesShowTheMazesWallsWithTheOpeningsAndItsSolution) {
    Scratch scratch;
    const fs::path dir = scratch.dir / "home" / "Pictures"; // missing: made on the way
    struct Case {
        int algo, rows, cols;
    };
    for (Case c : {Case{ALGO_RECURSIVE, 50, 80},
                   {ALGO_PRIM, 100, 160},
                   {ALGO_KRUSKAL, 1, 1},
                   {ALGO_WILSON, 9, 4}}) {
        auto m = std::make_unique<Maze>();
        maze_init(m.get(), c.rows, c.cols);
        std::srand(unsigned(c.rows * 7 + c.algo));
        maze_generate_full(m.get(), c.algo);
        ASSERT_EQ(maze_problems(*m), "");
        char message[STATUS_BYTES];
        // What the files say about the maze: its seed and statistics.
        const std::string about = maze_about(*m, ALGO_NAMES[c.algo], 12345);
        ASSERT_TRUE(export_maze(*m, c.algo, dir.string(), encode_png, message, about.c_str()))
            << message;
        std::string lower = ALGO_NAMES[c.algo];
        for (char &ch : lower) ch = char(std::tolower(ch));
        const std::string stem =
            "maze-" + std::to_string(c.cols) + "x" + std::to_string(c.rows) + "-" + lower + "-1";
        EXPECT_TRUE(std::string(message).starts_with("SAVED " + stem + " (4 files) in "))
            << message;
        for (const char *end : {".svg", ".png", "-solution.svg", "-solution.png"})
            EXPECT_TRUE(files_in(dir).count(stem + end)) << stem + end;
        check_export(*m, c.algo, dir, stem);
        for (const char *end : {".svg", "-solution.svg"})
            EXPECT_EQ(
                sh("python3 -c \"import sys, xml.etree.ElementTree as E; "
                   "print(E.parse(sys.argv[1]).find('{http://www.w3.org/2000/svg}desc').text)\" '" +
                   (dir / (stem + end)).string() + "'"),
                about + "\n");
        for (const char *end : {".png", "-solution.png"})
            EXPECT_EQ(
                sh("identify -format '%[Description]' '" + (dir / (stem + end)).string() + "'"),
                about);
        EXPECT_NE(about.find(", seed 000C1S: dead ends "), about.npos) << about;
    }
    EXPECT_EQ(files_in(dir).size(), 16u) << "stray files";
}

TEST(Export, NumbersSkipTakenNamesAndNeverOverwrite) {
    Scratch scratch;
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), 3, 5);
    maze_generate_full(m.get(), ALGO_PRIM);
    char message[STATUS_BYTES];
    ASSERT_TRUE(export_maze(*m, ALGO_PRIM, scratch.dir, encode_png, message));
    ASSERT_TRUE(export_maze(*m, ALGO_PRIM, scratch.dir, encode_png, message));
    EXPECT_TRUE(std::string(message).starts_with("SAVED maze-5x3-prim-2 (4 files) in "));
    // Any one of the four names being taken moves on to the next number.
    std::ofstream(scratch.dir / "maze-5x3-prim-3-solution.png") << "keep";
    ASSERT_TRUE(export_maze(*m, ALGO_PRIM, scratch.dir, encode_png, message));
    EXPECT_TRUE(std::string(message).starts_with("SAVED maze-5x3-prim-4 (4 files) in "));
    std::ifstream kept(scratch.dir / "maze-5x3-prim-3-solution.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_EQ(files_in(scratch.dir).size(), 13u);
}

bool png_out_of_memory(const Picture &, std::string &) {
    errno = ENOMEM;
    return false;
}

// A failed export says why in the status line, shortened to fit before the
// key help, and leaves neither half-written nor temporary files behind.
TEST(Export, FailureSaysWhyAndLeavesNothing) {
    Scratch scratch;
    auto m = std::make_unique<Maze>();
    maze_init(m.get(), 4, 4);
    maze_generate_full(m.get(), ALGO_KRUSKAL);
    char message[STATUS_BYTES];
    std::ofstream(scratch.dir / "file") << "x";
    EXPECT_FALSE(
        export_maze(*m, 0, (scratch.dir / "file" / "Pictures").string(), encode_png, message));
    EXPECT_STREQ(message, "NOT SAVED: .../file/Pictures: Not a directory");

    const std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", scratch.dir.c_str(), 1);
    EXPECT_FALSE(
        export_maze(*m, 0, (scratch.dir / "Pictures").string(), png_out_of_memory, message));
    EXPECT_STREQ(message, "NOT SAVED: ~/Pictures: Cannot allocate memory");
    EXPECT_TRUE(files_in(scratch.dir / "Pictures").empty());
    EXPECT_LE(std::strlen(message), size_t(STATUS_FIT));

    // A file-size limit stops a write part way, as a nearly full disk does:
    // here in the third file, the solution's SVG, the plain one and more.
    ASSERT_TRUE(export_maze(*m, 0, (scratch.dir / "ok").string(), encode_png, message));
    const auto limit = rlim_t(fs::file_size(scratch.dir / "ok" / "maze-4x4-recursive-1.svg"));
    if (fork() == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        export_maze(*m, 0, (scratch.dir / "full").string(), encode_png, message);
        _exit(std::strcmp(message, "NOT SAVED: ~/full: File too large") == 0 ? 0 : 1);
    }
    int status = -1;
    wait(&status);
    EXPECT_EQ(status, 0) << "no NOT SAVED: ~/full: File too large";
    EXPECT_TRUE(files_in(scratch.dir / "full").empty());
    setenv("HOME", old_home.c_str(), 1);

    EXPECT_FALSE(export_maze(*m, 0, "", encode_png, message));
    EXPECT_STREQ(message, "NOT SAVED: no home folder");
}

TEST(Export, PicturesFolderFromTheEnvironmentTheUserDirsOrHome) {
    const char *user_dirs = "# written by xdg-user-dirs-update\n"
                            "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                            "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(pictures_dir_from("/srv/pics", "/home/u", user_dirs), "/srv/pics");
    EXPECT_EQ(pictures_dir_from("", "/home/u", user_dirs), "/home/u/Bilder");
    EXPECT_EQ(pictures_dir_from(nullptr, "/home/u", "XDG_PICTURES_DIR=\"/data/pics\"\n"),
              "/data/pics");
    EXPECT_EQ(pictures_dir_from(nullptr, "/home/u", "XDG_MUSIC_DIR=\"$HOME/Music\"\n"),
              "/home/u/Pictures");
    EXPECT_EQ(pictures_dir_from(nullptr, "/home/u", nullptr), "/home/u/Pictures");
    EXPECT_EQ(pictures_dir_from(nullptr, nullptr, nullptr), "");
    // As its own tools read the file: "$HOME" alone, blanks, a backslash taking
    // the next character as it is, the last line counting; a relative folder
    // is ignored, as if unset.
    for (auto [env, text, want] :
         {std::array<const char *, 3>{"pics", "XDG_PICTURES_DIR=\"$HOME\"", "/home/u"},
          {nullptr, " \tXDG_PICTURES_DIR = \"/a \\\"b\\\"\\\\c\" # x", "/a \"b\"\\c"},
          {nullptr, "XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\nXDG_PICTURES_DIR=\"c\"",
           "/b"},
          {nullptr, "XDG_PICTURES_DIR=\"Pictures\"", "/home/u/Pictures"}})
        EXPECT_EQ(pictures_dir_from(env, "/home/u", text), want) << text;
}

} // namespace
