#include "cli.h"

#include "config.h"
#include "maze.h"
#include "maze_route.h"
#include "maze_seed.h"
#include "maze_stats.h"
#include "picture.h"
#include "png_file.h"
#include "save_files.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>

#ifndef MAZE_GENERATOR_VERSION
#define MAZE_GENERATOR_VERSION "unknown"
#endif

static const char HELP[] = R"(Usage: drevix-maze-generator [OPTION]...
Without options, opens the maze generator's window. With options, writes
mazes to files and opens no window (no display needed).

  --algorithm NAME   recursive (default), prim, kruskal, aldous-broder, wilson
  --size COLSxROWS   columns and rows, each 1 to 300 (default 80x50)
  --seed CODE        six letters and digits, as the window shows it (default:
                     from the clock); the same seed, algorithm and size give
                     the same maze
  --count N          N mazes (1 to 10000, default 1); each next seed follows
                     from the one before, and each maze shows its own
  --output FILE      FILE.svg, FILE.png or FILE.pdf; with --count above 1,
                     SVG and PNG files are numbered: FILE-01.svg, FILE-02.svg...
  --solution         draw the way through on the mazes themselves
  --answer-key       (PDF) after the mazes, pages with the same mazes solved,
                     numbered alike
  --per-page N       (PDF) 1 (default), 2, 4 or 6 mazes a page
  --paper NAME       (PDF) a4 (default) or letter
  --title TEXT       (PDF) printed at the top of each page
  --min-solution P   keep only mazes whose solution runs through at least P %
                     of the cells (0 to 100); tries up to 1000 seeds for each
                     maze and fails if none of them reaches P
  --help             this help
  --version          the program's version

Each maze is captioned with its number, size, algorithm, seed and statistics:
dead ends, junctions (three or four ways), the solution's length in cells and
as a share of all cells, and the longest straight corridor.

Exit status: 0 saved; 1 not saved (a file could not be written, or
--min-solution could not be reached); 2 bad arguments.

Examples:
  drevix-maze-generator --algorithm prim --size 40x25 --seed K7QX2M --output maze.svg
  drevix-maze-generator --size 30x20 --count 30 --per-page 2 --paper a4 \
      --answer-key --title "Class 3B" --output week12.pdf
)";

static std::string lower(std::string_view s) {
    std::string out(s);
    for (char &c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A whole decimal number in lo .. hi.
static bool whole_number(const std::string &text, long lo, long hi, long &value) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= lo && value <= hi;
}

static bool parse_size(const std::string &text, int &cols, int &rows) {
    const size_t x = lower(text).find('x');
    long c = 0, r = 0;
    if (x == text.npos || !whole_number(text.substr(0, x), 1, MAZE_MAX, c) ||
        !whole_number(text.substr(x + 1), 1, MAZE_MAX, r))
        return false;
    cols = int(c);
    rows = int(r);
    return true;
}

static bool ends_with(const std::string &text, std::string_view end) {
    return lower(text).ends_with(end);
}

CliParse cli_parse(int argc, const char *const *argv, CliOptions &o, std::string &error) {
    o = CliOptions{};
    o.sheet.rows = MAZE_SIZES[START_SIZE_IDX].first;
    o.sheet.cols = MAZE_SIZES[START_SIZE_IDX].second;
    bool pdf_only_given = false;
    const char *pdf_only = "";
    auto bad = [&](const std::string &line) {
        error = line;
        return CLI_BAD;
    };
    for (int i = 0; i < argc; i++) {
        std::string arg = argv[i];
        std::string value;
        bool has_value = false;
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            has_value = true;
        }
        if (arg == "--help" || arg == "-h") return CLI_HELP;
        if (arg == "--version") return CLI_VERSION;
        auto flag = [&](bool &target) {
            if (has_value) return false;
            target = true;
            return true;
        };
        if (arg == "--solution" || arg == "--answer-key") {
            if (!flag(arg == "--solution" ? o.sheet.solution : o.sheet.answer_key))
                return bad(arg + ": takes no value");
            if (arg == "--answer-key") {
                pdf_only_given = true;
                pdf_only = "--answer-key";
            }
            continue;
        }
        static constexpr std::string_view WITH_VALUE[] = {
            "--algorithm", "--size",  "--seed",  "--count",       "--output",
            "--per-page",  "--paper", "--title", "--min-solution"};
        bool known = false;
        for (std::string_view name : WITH_VALUE) known = known || arg == name;
        if (!known)
            return bad(arg + ": unknown option; allowed: --algorithm --size --seed --count "
                             "--output --solution --answer-key --per-page --paper --title "
                             "--min-solution --help --version");
        if (!has_value) {
            if (i + 1 >= argc) return bad(arg + ": needs a value");
            value = argv[++i];
        }
        long n = 0;
        if (arg == "--algorithm") {
            int found = -1;
            for (int a = 0; a < ALGO_COUNT; a++)
                if (lower(value) == lower(ALGO_NAMES[a])) found = a;
            if (found < 0)
                return bad("--algorithm: '" + value +
                           "' is not one of recursive, prim, kruskal, aldous-broder, wilson");
            o.sheet.algo = found;
        } else if (arg == "--size") {
            if (!parse_size(value, o.sheet.cols, o.sheet.rows))
                return bad("--size: '" + value +
                           "' is not COLSxROWS with each from 1 to 300, as in 40x25");
        } else if (arg == "--seed") {
            if (!seed_parse(value, o.seed))
                return bad("--seed: '" + value +
                           "' is not a seed: six of 0-9 and A-Z without I, L, O, U, as in K7QX2M");
            o.seed_given = true;
        } else if (arg == "--count") {
            if (!whole_number(value, 1, MAX_COUNT, n))
                return bad("--count: '" + value + "' is not a whole number from 1 to " +
                           std::to_string(MAX_COUNT));
            o.count = int(n);
        } else if (arg == "--output") {
            if (ends_with(value, ".svg"))
                o.kind = OUT_SVG;
            else if (ends_with(value, ".png"))
                o.kind = OUT_PNG;
            else if (ends_with(value, ".pdf"))
                o.kind = OUT_PDF;
            else
                return bad("--output: '" + value + "' must end in .svg, .png or .pdf");
            if (value.find_last_of('/') == value.size() - 5 || value.size() == 4)
                return bad("--output: '" + value + "' needs a name before the ending");
            o.output = value;
        } else if (arg == "--per-page") {
            if (!whole_number(value, 1, 6, n) || n == 3 || n == 5)
                return bad("--per-page: '" + value + "' is not 1, 2, 4 or 6");
            o.sheet.per_page = int(n);
            pdf_only_given = true;
            pdf_only = "--per-page";
        } else if (arg == "--paper") {
            if (lower(value) == "a4")
                o.sheet.paper = PAPER_A4;
            else if (lower(value) == "letter")
                o.sheet.paper = PAPER_LETTER;
            else
                return bad("--paper: '" + value + "' is not a4 or letter");
            pdf_only_given = true;
            pdf_only = "--paper";
        } else if (arg == "--title") {
            o.sheet.title = value;
            pdf_only_given = true;
            pdf_only = "--title";
        } else if (arg == "--min-solution") {
            char *end = nullptr;
            const double p = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(p >= 0 && p <= 100))
                return bad("--min-solution: '" + value + "' is not a percentage from 0 to 100");
            o.min_solution = p;
        }
    }
    if (o.output.empty()) return bad("--output: missing; give a file ending in .svg, .png or .pdf");
    if (pdf_only_given && o.kind != OUT_PDF)
        return bad(std::string(pdf_only) + ": only for a .pdf output");
    return CLI_RUN;
}

bool cli_seeds(const CliOptions &o, std::vector<uint32_t> &seeds, std::string &message) {
    static Maze maze;
    seeds.clear();
    uint32_t seed = o.seed;
    for (int k = 0; k < o.count; k++) {
        double best = 0;
        for (int tries = 0;; tries++) {
            if (tries == MIN_SOLUTION_TRIES) {
                char text[200];
                std::snprintf(text, sizeof text,
                              "--min-solution: no maze reached %g%% in %d tries "
                              "(maze %d, best %.1f%%)",
                              o.min_solution, MIN_SOLUTION_TRIES, k + 1, best);
                message = text;
                return false;
            }
            const uint32_t candidate = seed;
            seed = seed_next(seed);
            if (o.min_solution <= 0) {
                seeds.push_back(candidate);
                break;
            }
            maze_init(&maze, o.sheet.rows, o.sheet.cols);
            maze_generate_seeded(&maze, o.sheet.algo, candidate);
            const double share = maze_stats(maze).solution_percent;
            best = std::max(best, share);
            if (share >= o.min_solution) {
                seeds.push_back(candidate);
                break;
            }
        }
    }
    return true;
}

std::string numbered_path(const std::string &path, int n, int count) {
    if (count <= 1) return path;
    const int width = int(std::to_string(count).size());
    char number[16];
    std::snprintf(number, sizeof number, "-%0*d", width, n);
    return path.substr(0, path.size() - 4) + number + path.substr(path.size() - 4);
}

static bool picture_files(const CliOptions &o, const std::vector<uint32_t> &seeds,
                          std::vector<FileOut> &files, std::string &failed) {
    static Maze maze;
    static CellPos path[MAZE_CELLS];
    const char *algo = ALGO_NAMES[o.sheet.algo];
    for (size_t k = 0; k < seeds.size(); k++) {
        maze_init(&maze, o.sheet.rows, o.sheet.cols);
        maze_generate_seeded(&maze, o.sheet.algo, seeds[k]);
        const int n = o.sheet.solution ? maze_solve(maze, path, MAZE_CELLS) : 0;
        const std::string about = maze_about(maze, algo, seeds[k]);
        FileOut f{numbered_path(o.output, int(k) + 1, int(seeds.size())), ""};
        if (o.kind == OUT_SVG) {
            f.bytes = maze_svg(maze, algo, path, n, about.c_str());
        } else if (!encode_png(maze_picture(maze, path, n), f.bytes)) {
            failed = f.path;
            return false;
        } else {
            png_add_text(f.bytes, "Description", about);
        }
        files.push_back(std::move(f));
    }
    return true;
}

int cli_main(int argc, const char *const *argv) {
    CliOptions o;
    std::string error;
    switch (cli_parse(argc, argv, o, error)) {
    case CLI_HELP:
        std::fputs(HELP, stdout);
        return 0;
    case CLI_VERSION:
        std::printf("drevix-maze-generator %s\n", MAZE_GENERATOR_VERSION);
        return 0;
    case CLI_BAD:
        std::fprintf(stderr, "drevix-maze-generator: %s\n", error.c_str());
        return 2;
    case CLI_RUN:
        break;
    }
    if (!o.seed_given) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        o.seed = seed_from_rand();
    }
    // The date is all that differs between two runs with the same seeds;
    // SOURCE_DATE_EPOCH fixes it, as for reproducible builds.
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        const std::time_t t = std::time_t(std::strtoll(epoch, nullptr, 10));
        char date[32];
        if (std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&t)))
            o.sheet.created = date;
    }
    std::vector<uint32_t> seeds;
    if (!cli_seeds(o, seeds, error)) {
        std::fprintf(stderr, "drevix-maze-generator: %s\n", error.c_str());
        return 1;
    }
    std::vector<FileOut> files;
    std::string failed;
    if (o.kind == OUT_PDF) {
        files.push_back({o.output, ""});
        if (!worksheet_pdf(o.sheet, seeds, files[0].bytes)) {
            std::fprintf(stderr, "NOT SAVED: %s: %s\n", o.output.c_str(), files[0].bytes.c_str());
            return 1;
        }
    } else if (!picture_files(o, seeds, files, failed)) {
        std::fprintf(stderr, "NOT SAVED: %s: cannot encode the picture\n", failed.c_str());
        return 1;
    }
    if (int err = save_files(files, failed)) {
        std::fprintf(stderr, "NOT SAVED: %s: %s\n", failed.c_str(), std::strerror(err));
        return 1;
    }
    SeedCode first;
    seed_code(seeds[0], first);
    for (const FileOut &f : files) std::printf("SAVED %s\n", f.path.c_str());
    std::printf("%zu maze%s, first seed %s\n", seeds.size(), seeds.size() == 1 ? "" : "s", first);
    return 0;
}
