#include "sheet.h"

#include "config.h"
#include "maze.h"
#include "maze_route.h"
#include "maze_seed.h"
#include "maze_stats.h"
#include "picture.h"

#include <algorithm>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cstdio>

static Maze maze; // 90 KB: one at a time, made again from its seed for the answers
static CellPos path[MAZE_CELLS];

constexpr double PT_PER_MM = 72 / 25.4;

PageSize paper_size(Paper paper) {
    return paper == PAPER_LETTER ? PageSize{215.9, 279.4} : PageSize{210, 297};
}

static void grid_of(int per_page, int &across, int &down) {
    across = per_page >= 4 ? 2 : 1;
    down = std::max(1, per_page / across);
}

Slot sheet_slot(const SheetOptions &o, int index) {
    const PageSize page = paper_size(o.paper);
    int across, down;
    grid_of(o.per_page, across, down);
    const double area_w = page.w_mm - 2 * PDF_MARGIN_MM;
    const double area_h = page.h_mm - 2 * PDF_MARGIN_MM - PDF_HEADER_MM;
    const double slot_w = (area_w - PDF_GAP_MM * (across - 1)) / across;
    const double slot_h = (area_h - PDF_GAP_MM * (down - 1)) / down;
    const double maze_h = slot_h - PDF_CAPTION_MM;
    const double cell = std::min(slot_w / std::max(o.cols, 1), maze_h / std::max(o.rows, 1));
    const double sx = PDF_MARGIN_MM + (index % across) * (slot_w + PDF_GAP_MM);
    const double sy = PDF_MARGIN_MM + PDF_HEADER_MM + (index / across) * (slot_h + PDF_GAP_MM);
    // Centred across the slot, at its top, the caption right under it.
    const double x = sx + (slot_w - cell * o.cols) / 2;
    return {x, sy, cell, sy + cell * o.rows + 1.5, sx, sx + slot_w};
}

std::string caption_head(int number, const SheetOptions &o, uint32_t seed) {
    SeedCode code;
    seed_code(seed, code);
    char text[160];
    std::snprintf(text, sizeof text, "%d.  %dx%d  %s  seed %s", number, o.cols, o.rows,
                  ALGO_NAMES[std::clamp(o.algo, 0, ALGO_COUNT - 1)], code);
    return text;
}

static cairo_status_t append(void *closure, const unsigned char *data, unsigned int length) {
    try {
        static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
        return CAIRO_STATUS_SUCCESS;
    } catch (...) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}

// The walls as long straight runs, one stroke for the whole maze: fewer
// path segments keep a 300 x 300 maze small and quick to print.
static void draw_walls(cairo_t *cr, const Slot &s) {
    maze_wall_runs(maze, [&](int x0, int y0, int x1, int y1) {
        cairo_move_to(cr, s.x + x0 * s.cell, s.y + y0 * s.cell);
        cairo_line_to(cr, s.x + x1 * s.cell, s.y + y1 * s.cell);
    });
    const double width = std::clamp(s.cell * PDF_WALL_CELLS, PDF_WALL_MIN_MM, PDF_WALL_MAX_MM);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE); // closes the corners where runs meet
    cairo_stroke(cr);
}

static void draw_way(cairo_t *cr, const Slot &s) {
    const int n = maze_solve(maze, path, MAZE_CELLS);
    if (n == 0) return;
    auto centre = [&](int k) { return (k + 0.5) * s.cell; };
    cairo_move_to(cr, s.x, s.y + centre(0));
    for (int i = 0; i < n; i++)
        cairo_line_to(cr, s.x + centre(path[i].col), s.y + centre(path[i].row));
    cairo_line_to(cr, s.x + maze.cols * s.cell, s.y + centre(maze.rows - 1));
    cairo_set_source_rgb(cr, ((EXPORT_PATH >> 16) & 255) / 255.0,
                         ((EXPORT_PATH >> 8) & 255) / 255.0, (EXPORT_PATH & 255) / 255.0);
    cairo_set_line_width(cr, s.cell * PDF_PATH_CELLS);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

static void text_at(cairo_t *cr, double x, double y, double pt, const std::string &text) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, pt / PT_PER_MM);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_move_to(cr, x, y + fe.ascent);
    cairo_show_text(cr, text.c_str());
}

static double text_width(cairo_t *cr, const std::string &text) {
    cairo_set_font_size(cr, PDF_CAPTION_PT / PT_PER_MM);
    cairo_text_extents_t te;
    cairo_text_extents(cr, text.c_str(), &te);
    return te.x_advance;
}

// Whether the statistics take two lines: when the widest they can be at
// this size is wider than the maze, so all captions of a run look alike.
static bool stats_break(cairo_t *cr, const SheetOptions &o, const Slot &s) {
    const int cells = o.rows * o.cols;
    char widest[160];
    format_stats(widest, sizeof widest, {cells, cells, cells, 100, std::max(o.rows, o.cols)});
    return text_width(cr, widest) > s.cell * o.cols;
}

// The caption's lines under the maze, from its left edge, moved left where
// a line would run past the slot; the statistics break in two at a field
// boundary when asked.
static void draw_caption(cairo_t *cr, const Slot &s, const std::string &head,
                         const std::string &stats, bool two_lines) {
    std::vector<std::string> lines = {head, stats};
    if (two_lines) {
        const size_t mid = stats.find("  ", stats.size() / 3);
        if (mid != stats.npos) lines = {head, stats.substr(0, mid), stats.substr(mid + 2)};
    }
    double y = s.caption;
    for (const std::string &line : lines) {
        const double x = std::max(s.left, std::min(s.x, s.right - text_width(cr, line)));
        text_at(cr, x, y, PDF_CAPTION_PT, line);
        y += PDF_CAPTION_PT * 1.25 / PT_PER_MM;
    }
}

static void draw_page(cairo_t *cr, const SheetOptions &o, const std::vector<uint32_t> &seeds,
                      int first, bool answers) {
    std::string head = o.title;
    if (answers) head = head.empty() ? "Answers" : head + " \xe2\x80\x94 answers";
    if (!head.empty()) text_at(cr, PDF_MARGIN_MM, PDF_MARGIN_MM, PDF_TITLE_PT, head);
    for (int i = 0; i < o.per_page && first + i < int(seeds.size()); i++) {
        const int k = first + i;
        maze_init(&maze, o.rows, o.cols);
        maze_generate_seeded(&maze, o.algo, seeds[size_t(k)]);
        const Slot s = sheet_slot(o, i);
        if (answers || o.solution) draw_way(cr, s);
        draw_walls(cr, s);
        char stats[160];
        format_stats(stats, sizeof stats, maze_stats(maze));
        draw_caption(cr, s, caption_head(k + 1, o, seeds[size_t(k)]), stats, stats_break(cr, o, s));
    }
    cairo_show_page(cr);
}

bool worksheet_pdf(const SheetOptions &o, const std::vector<uint32_t> &seeds, std::string &out) {
    out.clear();
    const PageSize page = paper_size(o.paper);
    cairo_surface_t *surface = cairo_pdf_surface_create_for_stream(
        append, &out, page.w_mm * PT_PER_MM, page.h_mm * PT_PER_MM);
    if (!o.title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, o.title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "drevix-maze-generator");
    if (!o.created.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, o.created.c_str());
    cairo_t *cr = cairo_create(surface);
    cairo_scale(cr, PT_PER_MM, PT_PER_MM); // draw in millimetres
    cairo_select_font_face(cr, PDF_FONT, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    const int per = std::max(o.per_page, 1);
    for (int pass = 0; pass < (o.answer_key ? 2 : 1); pass++)
        for (int first = 0; first < int(seeds.size()); first += per)
            draw_page(cr, o, seeds, first, pass == 1);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) out = cairo_status_to_string(status);
    return status == CAIRO_STATUS_SUCCESS;
}
