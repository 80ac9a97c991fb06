// Worksheets: mazes laid out on printed pages as a PDF (cairo), at true
// size, each with a caption, and optionally followed by answer-key pages
// that show the same mazes solved under the same numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum Paper { PAPER_A4, PAPER_LETTER };

struct SheetOptions {
    int algo = 0;
    int rows = 0, cols = 0;
    int per_page = 1; // 1, 2, 4 or 6
    Paper paper = PAPER_A4;
    bool solution = false;   // the way drawn on the mazes themselves
    bool answer_key = false; // pages of solved mazes after the mazes
    std::string title;       // at the top of every page; may be empty
    std::string created;     // the file's date, "YYYY-MM-DDThh:mm:ssZ"; empty: now
};

struct PageSize {
    double w_mm, h_mm;
};
PageSize paper_size(Paper paper);

// Where the mazes go on a page, in millimetres from its top-left corner.
struct Slot {
    double x, y;        // top-left corner of the maze's cells
    double cell;        // side of a cell
    double caption;     // top of the caption's first line
    double left, right; // the slot's sides: captions stay between them
};
// The slot of the index-th maze of a page (0 .. per_page - 1).
Slot sheet_slot(const SheetOptions &o, int index);

// The PDF's bytes for one maze per seed; false, with the reason in out,
// when cairo fails.
bool worksheet_pdf(const SheetOptions &o, const std::vector<uint32_t> &seeds, std::string &out);

// The first caption line of a maze: "3.  40x25  PRIM  seed K7QX2M" and its
// statistics.
std::string caption_head(int number, const SheetOptions &o, uint32_t seed);
