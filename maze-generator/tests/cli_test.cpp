// The command line end to end: the real program, with no display, writes
// files that trusted tools read back (pdfinfo, pdftoppm, pdftotext,
// ImageMagick), showing the mazes its seeds stand for.
#include "cli.h"
#include "config.h"
#include "maze.h"
#include "maze_route.h"
#include "maze_seed.h"
#include "maze_stats.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path dir;
    Scratch() {
        char name[] = "/tmp/maze-cli-test-XXXXXX";
        dir = mkdtemp(name);
    }
    ~Scratch() { fs::remove_all(dir); }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (auto &e : fs::directory_iterator(dir)) names.insert(e.path().filename());
        return names;
    }
};

struct Outcome {
    int status;
    std::string out, err;
};

// The program without a display, from the scratch folder.
Outcome run(const Scratch &s, const std::string &args, const std::string &before = "") {
    const std::string err = (s.dir / "stderr.txt").string();
    std::string out = sh("cd '" + s.dir.string() + "' && " + before +
                         "env -u DISPLAY -u WAYLAND_DISPLAY " MAZE_GENERATOR_EXE " " + args +
                         " 2>'" + err + "'; echo \"status=$?\"");
    Outcome r{};
    const size_t at = out.rfind("status=");
    r.status = std::atoi(out.c_str() + at + 7);
    r.out = out.substr(0, at);
    r.err = sh("cat '" + err + "'");
    fs::remove(err);
    return r;
}

std::unique_ptr<Maze> maze_of(int algo, int cols, int rows, const char *code) {
    auto m = std::make_unique<Maze>();
    uint32_t seed = 0;
    seed_parse(code, seed);
    maze_init(m.get(), rows, cols);
    maze_generate_seeded(m.get(), algo, seed);
    return m;
}

std::string squeeze(const std::string &text) {
    std::istringstream words(text);
    std::string word, out;
    while (words >> word) out += word + " ";
    return out;
}

bool ink(uint32_t p) {
    return (p >> 16) < 100 && (p >> 8 & 255) < 100 && (p & 255) < 100;
}
bool red(uint32_t p) {
    return (p >> 16) > 150 && (p >> 8 & 255) < 110 && (p & 255) < 110;
}
bool paper(uint32_t p) {
    return p == 0xFFFFFF;
}

// The page rendered at 10 pixels per millimetre: every edge of the maze in
// slot is a wall exactly where the maze has one (entrance and exit open),
// and every cell centre red exactly on the answer pages' way through.
void check_page(const fs::path &pdf, int page, const SheetOptions &o, int index, const Maze &m,
                bool answers) {
    SCOPED_TRACE("page " + std::to_string(page));
    const fs::path png = pdf.parent_path() / "page.png";
    sh("pdftoppm -r 254 -f " + std::to_string(page) + " -l " + std::to_string(page) +
       " -singlefile -png '" + pdf.string() + "' '" + png.parent_path().string() + "/page'");
    Shot s = read_picture(png.string());
    fs::remove(png);
    const PageSize size = paper_size(o.paper);
    ASSERT_NEAR(s.w, size.w_mm * 10, 1); // pdftoppm rounds the points up
    ASSERT_NEAR(s.h, size.h_mm * 10, 1);
    const Slot slot = sheet_slot(o, index);
    auto px = [&](double mm) { return int(std::lround(mm * 10)); };
    int wrong = 0;
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x < m.cols; x++) {
            const bool wall = y == 0 || y == m.rows || (maze_cell(m, y, x) & WALL_TOP);
            const uint32_t p = s.at(px(slot.x + (x + 0.5) * slot.cell), px(slot.y + y * slot.cell));
            wrong += wall ? !ink(p) : ink(p);
        }
    for (int x = 0; x <= m.cols; x++)
        for (int y = 0; y < m.rows; y++) {
            const bool wall = x == 0        ? y != 0
                              : x == m.cols ? y != m.rows - 1
                                            : bool(maze_cell(m, y, x) & WALL_LEFT);
            const uint32_t p = s.at(px(slot.x + x * slot.cell), px(slot.y + (y + 0.5) * slot.cell));
            wrong += wall ? !ink(p) : ink(p);
        }
    EXPECT_EQ(wrong, 0) << "edges drawn unlike the maze";
    std::vector<CellPos> path(MAZE_CELLS);
    path.resize(size_t(maze_solve(m, path.data(), MAZE_CELLS)));
    std::set<std::pair<int, int>> on_path;
    for (CellPos c : path) on_path.insert({c.row, c.col});
    int misplaced = 0;
    for (int y = 0; y < m.rows; y++)
        for (int x = 0; x < m.cols; x++) {
            const uint32_t p =
                s.at(px(slot.x + (x + 0.5) * slot.cell), px(slot.y + (y + 0.5) * slot.cell));
            misplaced += (answers && on_path.count({y, x})) ? !red(p) : !paper(p);
        }
    EXPECT_EQ(misplaced, 0) << "cell centres unlike the way through";
}

TEST(CommandLine, WeeksWorksheetsWithAnswerKeysAtTrueSize) {
    Scratch s;
    const Outcome r = run(s, "--algorithm prim --size 30x20 --seed K7QX2M --count 5 --per-page 2 "
                             "--paper letter --answer-key --title 'Class 3B' --output week.pdf");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(s.files(), std::set<std::string>{"week.pdf"});
    const std::string pdf = (s.dir / "week.pdf").string();
    const std::string info = sh("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           6\n"), info.npos) << info; // 3 of mazes, 3 of answers
    EXPECT_NE(info.find("Page size:       612 x 792 pts (letter)"), info.npos) << info;
    EXPECT_NE(info.find("Title:           Class 3B"), info.npos) << info;

    SheetOptions o;
    o.algo = ALGO_PRIM;
    o.cols = 30;
    o.rows = 20;
    o.per_page = 2;
    o.paper = PAPER_LETTER;
    // Maze 4 (seed K7QX2M + 3) is the second on page 2 and on page 5.
    auto fourth = maze_of(ALGO_PRIM, 30, 20, "K7QX2Q");
    check_page(s.dir / "week.pdf", 2, o, 1, *fourth, false);
    check_page(s.dir / "week.pdf", 5, o, 1, *fourth, true);

    const char *codes[] = {"K7QX2M", "K7QX2N", "K7QX2P", "K7QX2Q", "K7QX2R"};
    for (int page = 1; page <= 6; page++) {
        const std::string text = squeeze(sh("pdftotext -f " + std::to_string(page) + " -l " +
                                            std::to_string(page) + " '" + pdf + "' -"));
        EXPECT_EQ(text.find("Class 3B"), 0u) << text;
        EXPECT_EQ(text.find("answers") != text.npos, page > 3) << text;
        for (int i = 0; i < 2; i++) {
            const int k = ((page - 1) % 3) * 2 + i;
            if (k >= 5) continue;
            char stats[160];
            format_stats(stats, sizeof stats, maze_stats(*maze_of(ALGO_PRIM, 30, 20, codes[k])));
            const std::string head = std::to_string(k + 1) + ". 30x20 PRIM seed " + codes[k];
            EXPECT_NE(text.find(squeeze(head)), text.npos) << head << "\n" << text;
            EXPECT_NE(text.find(squeeze(stats)), text.npos) << stats << "\n" << text;
        }
    }
}

TEST(CommandLine, LayoutsAndPaperFitInsideTheMargins) {
    constexpr double CAPTION = 9.2; // three lines of 7 points, the last one's descenders included
    for (Paper paper : {PAPER_A4, PAPER_LETTER})
        for (int per : {1, 2, 4, 6}) {
            SheetOptions o;
            o.cols = 40;
            o.rows = 25;
            o.per_page = per;
            o.paper = paper;
            const PageSize size = paper_size(paper);
            for (int i = 0; i < per; i++) {
                const Slot a = sheet_slot(o, i);
                EXPECT_GE(a.left, 10 - 1e-9);
                EXPECT_LE(a.right, size.w_mm - 10 + 1e-9);
                EXPECT_GE(a.x, a.left);
                EXPECT_LE(a.x + a.cell * o.cols, a.right + 1e-9);
                EXPECT_LE(a.x + a.cell * o.cols, size.w_mm - 10 + 1e-9);
                EXPECT_LE(a.caption + CAPTION, size.h_mm - 10 + 1e-9) << per << " " << i;
                for (int j = 0; j < i; j++) { // no two mazes overlap
                    const Slot b = sheet_slot(o, j);
                    const bool apart = a.x >= b.x + b.cell * o.cols ||
                                       b.x >= a.x + a.cell * o.cols || a.y >= b.caption + CAPTION ||
                                       b.y >= a.caption + CAPTION;
                    EXPECT_TRUE(apart) << per << ": " << i << " and " << j;
                }
            }
        }
    // One maze filling the width of A4 sits exactly on the margins.
    Scratch s;
    ASSERT_EQ(run(s, "--size 40x25 --seed 000001 --output one.pdf").status, 0);
    SheetOptions o;
    o.cols = 40;
    o.rows = 25;
    EXPECT_DOUBLE_EQ(sheet_slot(o, 0).x, 10);
    EXPECT_DOUBLE_EQ(sheet_slot(o, 0).cell, 190.0 / 40);
    check_page(s.dir / "one.pdf", 1, o, 0, *maze_of(ALGO_RECURSIVE, 40, 25, "000001"), false);
    EXPECT_NE(sh("pdfinfo '" + (s.dir / "one.pdf").string() + "'").find("(A4)"), std::string::npos);
}

TEST(CommandLine, SeedsGiveTheSameFilesAndNumberedOnesFollow) {
    Scratch s;
    ASSERT_EQ(run(s, "--algorithm kruskal --size 12x9 --seed k7qx2m --output a.svg").status, 0);
    ASSERT_EQ(run(s, "--algorithm KRUSKAL --size 12x9 --seed=K7QX2M --output=b.svg").status, 0);
    EXPECT_EQ(sh("cmp '" + (s.dir / "a.svg").string() + "' '" + (s.dir / "b.svg").string() +
                 "' && echo same"),
              "same\n");
    // Worksheets too, once their date is fixed.
    for (const char *name : {"a.pdf", "b.pdf"})
        ASSERT_EQ(run(s, std::string("--count 3 --seed K7QX2M --answer-key --output ") + name,
                      "SOURCE_DATE_EPOCH=1700000000 ")
                      .status,
                  0);
    EXPECT_EQ(sh("cmp '" + (s.dir / "a.pdf").string() + "' '" + (s.dir / "b.pdf").string() +
                 "' && echo same"),
              "same\n");
    fs::remove(s.dir / "a.pdf");
    fs::remove(s.dir / "b.pdf");
    const Outcome r = run(s, "--size 12x9 --seed ZZZZZY --count 3 --solution --output m.png");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(s.files(),
              (std::set<std::string>{"a.svg", "b.svg", "m-1.png", "m-2.png", "m-3.png"}));
    // The seeds run on from the first and wrap; each file says its own.
    const char *codes[] = {"ZZZZZY", "ZZZZZZ", "000000"};
    for (int i = 0; i < 3; i++) {
        const std::string file = (s.dir / ("m-" + std::to_string(i + 1) + ".png")).string();
        const std::string about = sh("identify -format '%[Description]' '" + file + "'");
        EXPECT_EQ(about.find(std::string("Maze 12x9, RECURSIVE, seed ") + codes[i]), 0u) << about;
        Shot png = read_picture(file);
        auto m = maze_of(ALGO_RECURSIVE, 12, 9, codes[i]);
        // The solution drawn: the first cell's centre in the path's colour.
        EXPECT_TRUE(red(png.at(PNG_MARGIN_PX + PNG_CELL_PX / 2, PNG_MARGIN_PX + PNG_CELL_PX / 2)));
        EXPECT_EQ(png.w, 2 * PNG_MARGIN_PX + 12 * PNG_CELL_PX);
    }
    EXPECT_EQ(numbered_path("out/week.svg", 7, 30), "out/week-07.svg");
    EXPECT_EQ(numbered_path("x.png", 1, 1), "x.png");
}

TEST(CommandLine, BadArgumentsNameThemselvesInOneLineAndExitTwo) {
    Scratch s;
    const char *cases[][2] = {
        {"--algorithm maze --output a.svg", "--algorithm: 'maze' is not one of recursive, prim"},
        {"--size 301x20 --output a.svg", "--size: '301x20' is not COLSxROWS"},
        {"--size 0x5 --output a.svg", "--size: '0x5'"},
        {"--seed K7QX2 --output a.svg", "--seed: 'K7QX2' is not a seed"},
        {"--count 0 --output a.pdf", "--count: '0' is not a whole number from 1 to 10000"},
        {"--output a.jpg", "--output: 'a.jpg' must end in .svg, .png or .pdf"},
        {"--per-page 3 --output a.pdf", "--per-page: '3' is not 1, 2, 4 or 6"},
        {"--paper a5 --output a.pdf", "--paper: 'a5' is not a4 or letter"},
        {"--answer-key --output a.png", "--answer-key: only for a .pdf output"},
        {"--min-solution 101 --output a.svg", "--min-solution: '101' is not a percentage"},
        {"--size", "--size: needs a value"},
        {"--colour red", "--colour: unknown option"},
        {"--seed K7QX2M", "--output: missing"},
    };
    for (auto &c : cases) {
        const Outcome r = run(s, c[0]);
        EXPECT_EQ(r.status, 2) << c[0];
        EXPECT_EQ(r.err.find(std::string("drevix-maze-generator: ") + c[1]), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(s.files(), std::set<std::string>{});
    const Outcome help = run(s, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--min-solution P"), help.out.npos);
    EXPECT_NE(help.out.find("1000 seeds"), help.out.npos);
    EXPECT_EQ(run(s, "--version").out.find("drevix-maze-generator "), 0u);
}

TEST(CommandLine, UnwritableFilesAreNotSavedAndLeaveNothing) {
    Scratch s;
    fs::create_directory(s.dir / "out");
    Outcome r = run(s, "--size 10x10 --output missing/maze.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "NOT SAVED: missing/maze.pdf: No such file or directory\n");
    // A size limit cuts the third of three files short: none of them stays.
    r = run(s, "--size 300x300 --count 3 --output out/m.svg", "ulimit -f 400; trap '' XFSZ; ");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.find("NOT SAVED: out/m-"), 0u) << r.err;
    EXPECT_NE(r.err.find(": File too large\n"), r.err.npos) << r.err;
    EXPECT_TRUE(fs::is_empty(s.dir / "out"));
    r = run(s, "--size 10x10 --output out");
    EXPECT_EQ(r.status, 2);
    fs::create_directory(s.dir / "taken.pdf");
    r = run(s, "--size 10x10 --output taken.pdf");
    EXPECT_EQ(r.err, "NOT SAVED: taken.pdf: Is a directory\n");
    EXPECT_EQ(r.status, 1);
}

TEST(CommandLine, MinimumSolutionKeepsOnlyLongWaysOrSaysItCannot) {
    Scratch s;
    Outcome r = run(s, "--size 10x10 --min-solution 100 --output a.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.find("drevix-maze-generator: --min-solution: no maze reached 100% in 1000 "
                         "tries"),
              0u)
        << r.err;
    EXPECT_FALSE(fs::exists(s.dir / "a.pdf"));
    CliOptions o;
    std::string error;
    const char *args[] = {"--size", "10x10",          "--seed", "000000",   "--count",
                          "8",      "--min-solution", "35",     "--output", "a.pdf"};
    ASSERT_EQ(cli_parse(10, args, o, error), CLI_RUN) << error;
    std::vector<uint32_t> seeds;
    ASSERT_TRUE(cli_seeds(o, seeds, error)) << error;
    ASSERT_EQ(seeds.size(), 8u);
    auto m = std::make_unique<Maze>();
    int skipped = 0;
    for (size_t i = 0; i < seeds.size(); i++) {
        EXPECT_TRUE(i == 0 || seeds[i] > seeds[i - 1]);
        skipped += int(seeds[i] - (i ? seeds[i - 1] + 1 : 0));
        maze_init(m.get(), 10, 10);
        maze_generate_seeded(m.get(), ALGO_RECURSIVE, seeds[i]);
        EXPECT_GE(maze_stats(*m).solution_percent, 35);
    }
    // Every seed passed over was too short.
    for (uint32_t seed = 0, i = 0; seed < seeds.back(); seed++) {
        if (seed == seeds[i]) {
            i++;
            continue;
        }
        maze_init(m.get(), 10, 10);
        maze_generate_seeded(m.get(), ALGO_RECURSIVE, seed);
        EXPECT_LT(maze_stats(*m).solution_percent, 35) << seed;
    }
    EXPECT_GT(skipped, 0);
}

} // namespace
