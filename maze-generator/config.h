// Every tunable of the maze generator's window. Colours are 0xAARRGGBB.
#pragma once

#include <array>
#include <cstdint>

constexpr const char *WINDOW_TITLE = "Drevix Maze Generator";
constexpr int WINDOW_W = 1200;
constexpr int WINDOW_H = 750;
constexpr int TOOLBAR_H = 44;

constexpr uint32_t COLOR_BACKGROUND = 0xFF0D1117;
constexpr uint32_t COLOR_TOOLBAR = 0xFF161B22;
constexpr uint32_t COLOR_WALL = 0xFF58A6FF;
constexpr uint32_t COLOR_CAPTION = 0xFFC9D1D9;
constexpr uint32_t COLOR_STATUS = 0xFF484F58;
constexpr uint32_t COLOR_ERROR = 0xFFFF3232; // a failed export: the game's red for errors
constexpr uint32_t COLOR_PATH = 0xFFF0883E;  // the solution: warm, against the blue walls

// The buttons sit in a row from (BUTTON_X, BUTTON_Y), BUTTON_GAP apart. Each
// is as wide as the widest caption it can show, with CAPTION_PAD of fill on
// either side, but never narrower than its min_w (the width without fonts).
struct ButtonStyle {
    int min_w;
    uint32_t color, hover_color;
    const char *label; // null: the current algorithm's name
};
constexpr int BUTTON_COUNT = 3;
constexpr int BUTTON_GENERATE = 0;
constexpr int BUTTON_ALGO = 1;
constexpr int BUTTON_SIZE = 2;
constexpr int BUTTON_X = 10;
constexpr int BUTTON_Y = 10;
constexpr int BUTTON_H = 28;
constexpr int BUTTON_GAP = 10;
constexpr int CAPTION_PAD = 10;
constexpr std::array<ButtonStyle, BUTTON_COUNT> BUTTON_STYLES = {{
    {110, 0xFF238636, 0xFF2EA043, "GENERATE [G]"},
    {110, 0xFF8957E5, 0xFFA371F7, nullptr},
    {100, 0xFFDA3633, 0xFFF85149, "SIZE [S]"},
}};

// The status line starts here, or further right when the buttons need it.
constexpr int STATUS_X = 410;
constexpr int STATUS_Y = 16;
constexpr int STATUS_BYTES = 256; // longer status text is cut
// The key help ends 10 pixels from the right edge, as the buttons start 10
// from the left, leaving the status line room for an export's folder.
constexpr int HELP_X = 900;
constexpr int HELP_Y = 16;
constexpr const char *KEY_HELP = "G:Generate  A:Algo  S:Size  ESC:Quit";
// The second line sits as close under the first as the glyphs allow, so its
// descenders still end inside the toolbar.
constexpr int HELP2_Y = HELP_Y + 12;
constexpr const char *KEY_HELP_2 = "V:Solution  E:Export  C/^V:Seed";
// The maze's statistics, under the status line.
constexpr int STATS_Y = HELP2_Y;
// How long the status line shows the outcome of an export, and how many of
// its characters fit before the key help.
constexpr uint32_t MESSAGE_MS = 4000;
constexpr int STATUS_FIT = 60;

// The window offers the first three algorithms of the library.
constexpr int WINDOW_ALGOS = 3;

struct SizePair {
    int first, second; // passed to maze_init in this order: rows, then columns
};
constexpr std::array<SizePair, 7> MAZE_SIZES = {{
    {25, 40},
    {30, 50},
    {40, 65},
    {50, 80},
    {60, 100},
    {75, 120},
    {100, 160},
}};
constexpr int START_SIZE_IDX = 3;

// Maze drawing: cell (0, 0) has its top-left corner at (MAZE_X, MAZE_Y); the
// frame runs one pixel outside the cells. Cells are CELL_PX square unless the
// maze would not fit, then as large as fits in whole pixels, keeping the same
// gap to the right and bottom edges as the frame has to the left edge.
constexpr int MAZE_X = 10;
constexpr int MAZE_Y = 54;
constexpr int CELL_PX = 12;
constexpr int MIN_CELL_PX = 3; // a wall, a one-pixel passage, a wall
constexpr int MAZE_MARGIN = MAZE_X - 1;

// Export for print. Each export writes four files into the pictures folder:
// maze-<cols>x<rows>-<algorithm>-<n>.svg and .png, and both again with
// -solution before the extension.
constexpr uint32_t EXPORT_BACKGROUND = 0xFFFFFFFF;
constexpr uint32_t EXPORT_WALL = 0xFF000000;
constexpr uint32_t EXPORT_PATH = 0xFFD7301F;
// PNG: cells of 10 pixels, walls 2 pixels wide centred on the cell edges, the
// solution a 2-pixel band through the centres, a margin around the maze.
constexpr int PNG_CELL_PX = 10;
constexpr int PNG_MARGIN_PX = 20;
// SVG: drawn in cell units with a margin of one cell, sized to fill an A4
// page less 10 mm all round in whichever orientation gives larger cells.
constexpr double SVG_PAGE_SHORT_MM = 210 - 2 * 10;
constexpr double SVG_PAGE_LONG_MM = 297 - 2 * 10;
constexpr double SVG_WALL_CELLS = 0.1;   // wall stroke, in cells...
constexpr double SVG_WALL_MIN_MM = 0.25; // ...but never thinner than a printer draws well
constexpr double SVG_PATH_CELLS = 0.3;

// Worksheets (PDF), in millimetres at true size: paper less the margins, a
// band for the title, then the mazes in a grid of per-page slots with a gap
// between them and up to three caption lines under each maze (the
// statistics take two where one is too wide for the slot).
constexpr double PDF_MARGIN_MM = 10;
constexpr double PDF_HEADER_MM = 10;
constexpr double PDF_GAP_MM = 8;
constexpr double PDF_CAPTION_MM = 11;
constexpr double PDF_TITLE_PT = 14;
constexpr double PDF_CAPTION_PT = 7;
constexpr const char *PDF_FONT = "DejaVu Sans";
// Walls a tenth of a cell, but at least two dots at 300 dpi and never heavy.
constexpr double PDF_WALL_CELLS = 0.1;
constexpr double PDF_WALL_MIN_MM = 0.17;
constexpr double PDF_WALL_MAX_MM = 0.6;
constexpr double PDF_PATH_CELLS = 0.3;

// The command line: how many seeds --min-solution tries for each maze
// before it gives up, and the most mazes one run makes.
constexpr int MIN_SOLUTION_TRIES = 1000;
constexpr int MAX_COUNT = 10000;

constexpr int FONT_SM_PT = 13;
constexpr int FONT_LG_PT = 16;
constexpr int FONT_TITLE_PT = 18;
// Tried in order for each font. The last two are where Debian and Fedora put
// DejaVu Sans Mono.
constexpr std::array<const char *, 4> FONT_PATHS = {
    "/usr/share/fonts/TTF/DejaVuSansMono.ttf",
    "/usr/share/fonts/TTF/JetBrainsMonoNerdFont-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/dejavu-sans-mono-fonts/DejaVuSansMono.ttf",
};
// Where no system has one of those (a minimal install running the portable
// archive), the game's own monospace font, looked for relative to the
// program's folder: beside it in the portable archive, one folder up in the
// build tree and an installed tree.
constexpr std::array<const char *, 2> BUNDLED_FONT_PATHS = {
    "assets/fonts/NotoSansMono-Regular.ttf",
    "../assets/fonts/NotoSansMono-Regular.ttf",
};
// The portable archive's font setup for the PDF worksheets, beside the
// program: the system's font folders, then the archive's own fonts.
constexpr const char *BUNDLED_FONT_SETUP = "assets/fonts/fonts.conf";
constexpr const char *BUNDLED_FONT_DIR = "assets/fonts";

// When set, the program prints its status line to standard output after the
// first frame that shows each new maze or message: a hook for the end-to-end
// tests.
constexpr const char *ECHO_STATUS_ENV = "MAZE_GENERATOR_ECHO_STATUS";
