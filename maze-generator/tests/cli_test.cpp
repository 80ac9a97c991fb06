// The command line end to end: the real program, with no display, writes
// files that trusted tools read back (pdfinfo, pdftoppm, pdftotext,
// ImageMagick), showing the mazes its seeds stand for.
#include "cli.h"
#include "config.h"
#include "maze_route.h"
#include "maze_seed.h"
#include "maze_stats.h"
#include "picture.h"
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
    fs::path dir = [] {
        char name[] = "/tmp/maze-cli-test-XXXXXX";
        return fs::path(mkdtemp(name));
    }();
    ~Scratch() { fs::remove_all(dir); }
    std::string at(const std::string &name) const { return (dir / name).string(); }
};

struct Outcome {
    int status;
    std::string err;
};

// The program without a display, in the scratch folder.
Outcome run(const Scratch &s, const std::string &args, const std::string &before = "") {
    const std::string out = sh("cd '" + s.dir.string() + "' && " + before +
                               "env -u DISPLAY -u WAYLAND_DISPLAY " MAZE_GENERATOR_EXE " " + args +
                               " >/dev/null 2>stderr.txt; echo $?; cat stderr.txt; rm stderr.txt");
    return {std::atoi(out.c_str()), out.substr(out.find('\n') + 1)};
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

// The page rendered at 10 pixels per millimetre: every edge of the maze in
// the slot is black exactly where the maze has a wall (entrance and exit
// open), and every cell centre is red exactly on an answer's way through.
void check_page(const std::string &pdf, int page, const SheetOptions &o, int index, const Maze &m,
                bool answers) {
    SCOPED_TRACE("page " + std::to_string(page));
    const std::string png = pdf + ".png", n = std::to_string(page);
    sh("pdftoppm -r 254 -f " + n + " -l " + n + " -singlefile -png '" + pdf + "' '" + pdf + "'");
    const Shot s = read_picture(png);
    const PageSize size = paper_size(o.paper);
    ASSERT_NEAR(s.w, size.w_mm * 10, 1); // pdftoppm rounds the points up
    ASSERT_NEAR(s.h, size.h_mm * 10, 1);
    const Slot slot = sheet_slot(o, index);
    auto at = [&](double col, double row) {
        const uint32_t p = s.at(int(std::lround((slot.x + col * slot.cell) * 10)),
                                int(std::lround((slot.y + row * slot.cell) * 10)));
        return (p >> 16) > 150 && (p & 255) < 110 ? 'r'
               : p == 0xFFFFFF                    ? ' '
               : p < 0x646464                     ? '#'
                                                  : '?';
    };
    std::vector<CellPos> path(MAZE_CELLS);
    path.resize(size_t(maze_solve(m, path.data(), MAZE_CELLS)));
    std::set<std::pair<int, int>> on_path;
    for (CellPos c : path) on_path.insert({c.row, c.col});
    int wrong = 0;
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x <= m.cols; x++) {
            if (x < m.cols)
                wrong += (at(x + 0.5, y) == '#') !=
                         (y == 0 || y == m.rows || bool(maze_cell(m, y, x) & WALL_TOP));
            if (y < m.rows)
                wrong += (at(x, y + 0.5) == '#') != (x == 0 ? y != 0
                                                     : x == m.cols
                                                         ? y != m.rows - 1
                                                         : bool(maze_cell(m, y, x) & WALL_LEFT));
            if (x < m.cols && y < m.rows)
                wrong += at(x + 0.5, y + 0.5) != (answers && on_path.count({y, x}) ? 'r' : ' ');
        }
    EXPECT_EQ(wrong, 0) << "edges or cell centres unlike the maze";
}

TEST(CommandLine, WeeksWorksheetsWithAnswerKeysAtTrueSize) {
    Scratch s;
    const Outcome r = run(s, "--algorithm prim --size 30x20 --seed K7QX2M --count 5 --per-page 2 "
                             "--paper letter --answer-key --title 'Class 3B' --output week.pdf");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = s.at("week.pdf"), info = sh("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           6\n"), info.npos) << info; // 3 of mazes, 3 of answers
    EXPECT_NE(info.find("Page size:       612 x 792 pts (letter)"), info.npos) << info;
    SheetOptions o;
    o.algo = ALGO_PRIM, o.cols = 30, o.rows = 20, o.per_page = 2, o.paper = PAPER_LETTER;
    // Maze 4 (seed K7QX2M + 3) is the second on page 2 and on page 5.
    auto fourth = maze_of(ALGO_PRIM, 30, 20, "K7QX2Q");
    check_page(pdf, 2, o, 1, *fourth, false);
    check_page(pdf, 5, o, 1, *fourth, true);
    const char *codes[] = {"K7QX2M", "K7QX2N", "K7QX2P", "K7QX2Q", "K7QX2R"};
    for (int page = 1; page <= 6; page++) {
        const std::string n = std::to_string(page);
        const std::string text = squeeze(sh("pdftotext -f " + n + " -l " + n + " '" + pdf + "' -"));
        EXPECT_EQ(text.find("Class 3B "), 0u) << text;
        EXPECT_EQ(text.starts_with("Class 3B — answers "), page > 3) << text;
        for (int k = (page - 1) % 3 * 2; k < std::min(5, (page - 1) % 3 * 2 + 2); k++) {
            char stats[160];
            format_stats(stats, sizeof stats, maze_stats(*maze_of(ALGO_PRIM, 30, 20, codes[k])));
            const std::string caption =
                std::to_string(k + 1) + ". 30x20 PRIM seed " + codes[k] + " " + squeeze(stats);
            EXPECT_NE(text.find(caption), text.npos) << caption << "\n" << text;
        }
    }
}

// Every layout keeps its mazes and their three caption lines (9.2 mm with
// the descenders) inside the margins and apart; one maze as wide as the page
// allows lies exactly on the margins.
TEST(CommandLine, EveryLayoutFitsInsideTheMargins) {
    for (Paper paper : {PAPER_A4, PAPER_LETTER})
        for (int per : {1, 2, 4, 6}) {
            SheetOptions o;
            o.cols = 40, o.rows = 25, o.per_page = per, o.paper = paper;
            for (int i = 0; i < per; i++) {
                const Slot a = sheet_slot(o, i), b = sheet_slot(o, (i + 1) % per);
                const double bottom = a.caption + 9.2;
                EXPECT_TRUE(a.left >= 10 && a.x >= a.left && a.x + a.cell * 40 <= a.right + 1e-9 &&
                            a.right <= paper_size(paper).w_mm - 10 + 1e-9 &&
                            bottom <= paper_size(paper).h_mm - 10 &&
                            (per == 1 || a.right <= b.left || b.right <= a.left || bottom <= b.y ||
                             b.caption + 9.2 <= a.y))
                    << per << " a page, maze " << i;
            }
        }
    SheetOptions o;
    o.cols = 40, o.rows = 25;
    EXPECT_DOUBLE_EQ(sheet_slot(o, 0).x, 10);
    EXPECT_DOUBLE_EQ(sheet_slot(o, 0).cell, 190.0 / 40);
}

TEST(CommandLine, SameSeedsGiveTheSameFilesAndNumberedOnesFollow) {
    Scratch s;
    ASSERT_EQ(run(s, "--algorithm kruskal --size 12x9 --seed k7qx2m --output a.svg").status, 0);
    ASSERT_EQ(run(s, "--algorithm KRUSKAL --size 12x9 --seed=K7QX2M --output=b.svg").status, 0);
    for (const char *name : {"a.pdf", "b.pdf"}) // once their date is fixed
        run(s, std::string("--count 3 --seed K7QX2M --answer-key --output ") + name,
            "SOURCE_DATE_EPOCH=1700000000 ");
    EXPECT_EQ(sh("cd '" + s.dir.string() + "' && cmp a.svg b.svg && cmp a.pdf b.pdf && echo same"),
              "same\n");
    ASSERT_EQ(run(s, "--size 12x9 --seed ZZZZZY --count 3 --solution --output m.png").status, 0);
    // The seeds run on from the first and wrap; each file says its own.
    const char *codes[] = {"ZZZZZY", "ZZZZZZ", "000000"};
    for (int i = 0; i < 3; i++) {
        uint32_t seed = 0;
        seed_parse(codes[i], seed);
        const std::string file = s.at("m-" + std::to_string(i + 1) + ".png");
        EXPECT_EQ(sh("identify -format '%[Description]' '" + file + "'"),
                  maze_about(*maze_of(ALGO_RECURSIVE, 12, 9, codes[i]), "RECURSIVE", seed));
        // The way drawn in: the first cell's centre in the way's colour.
        EXPECT_EQ(
            read_picture(file).at(PNG_MARGIN_PX + PNG_CELL_PX / 2, PNG_MARGIN_PX + PNG_CELL_PX / 2),
            EXPORT_PATH & 0xFFFFFF);
    }
    EXPECT_EQ(numbered_path("out/week.svg", 7, 30), "out/week-07.svg");
}

TEST(CommandLine, BadArgumentsNameThemselvesInOneLineAndExitTwo) {
    Scratch s;
    const char *cases[][2] = {
        {"--algorithm maze --output a.svg", "--algorithm: 'maze' is not one of recursive, prim"},
        {"--size 301x20 --output a.svg", "--size: '301x20' is not COLSxROWS"},
        {"--seed K7QX2 --output a.svg", "--seed: 'K7QX2' is not a seed"},
        {"--count 0 --output a.pdf", "--count: '0' is not a whole number from 1 to 10000"},
        {"--output a.jpg", "--output: 'a.jpg' must end in .svg, .png or .pdf"},
        {"--per-page 3 --output a.pdf", "--per-page: '3' is not 1, 2, 4 or 6"},
        {"--answer-key --output a.png", "--answer-key: only for a .pdf output"},
        {"--min-solution 101 --output a.svg", "--min-solution: '101' is not a percentage"},
        {"--colour red", "--colour: unknown option; allowed: --algorithm"},
        {"--seed K7QX2M", "--output: missing"},
    };
    for (auto &c : cases) {
        const Outcome r = run(s, c[0]);
        EXPECT_EQ(r.status, 2) << c[0];
        EXPECT_EQ(r.err.find(std::string("drevix-maze-generator: ") + c[1]), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(s.dir));
}

TEST(CommandLine, UnwritableFilesAreNotSavedAndLeaveNothing) {
    Scratch s;
    fs::create_directory(s.dir / "out");
    fs::create_directory(s.dir / "taken.pdf");
    Outcome r = run(s, "--size 10x10 --output missing/maze.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "NOT SAVED: missing/maze.pdf: No such file or directory\n");
    r = run(s, "--size 10x10 --output taken.pdf");
    EXPECT_EQ(r.err, "NOT SAVED: taken.pdf: Is a directory\n");
    // A size limit cuts the third of three files short: none of them stays.
    r = run(s, "--size 300x300 --count 3 --output out/m.svg", "ulimit -f 400; trap '' XFSZ; ");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with("NOT SAVED: out/m-") && r.err.ends_with(": File too large\n"))
        << r.err;
    EXPECT_TRUE(fs::is_empty(s.dir / "out"));
}

// Only mazes whose way is long enough, each seed passed over too short; or
// a clear failure when none of the tries reaches it.
TEST(CommandLine, MinimumSolutionKeepsOnlyLongWaysOrSaysItCannot) {
    Scratch s;
    const Outcome r = run(s, "--size 10x10 --min-solution 100 --output a.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with(
        "drevix-maze-generator: --min-solution: no maze reached 100% in 1000 tries"))
        << r.err;
    EXPECT_TRUE(fs::is_empty(s.dir));
    CliOptions o;
    std::string error;
    const char *args[] = {"--size", "10x10",          "--seed", "000000",   "--count",
                          "8",      "--min-solution", "35",     "--output", "a.pdf"};
    ASSERT_EQ(cli_parse(10, args, o, error), CLI_RUN) << error;
    std::vector<uint32_t> kept;
    ASSERT_TRUE(cli_seeds(o, kept, error)) << error;
    ASSERT_EQ(kept.size(), 8u);
    auto m = std::make_unique<Maze>();
    for (uint32_t seed = 0, i = 0; seed <= kept.back(); seed++) {
        maze_init(m.get(), 10, 10);
        maze_generate_seeded(m.get(), ALGO_RECURSIVE, seed);
        const bool taken = seed == kept[i];
        i += taken;
        EXPECT_EQ(maze_stats(*m).solution_percent >= 35, taken) << seed;
    }
    EXPECT_GT(kept.back(), 8u) << "none passed over";
}

} // namespace
