#include "picture.h"

#include "config.h"
#include "maze_seed.h"
#include "maze_stats.h"

#include <algorithm>
#include <cstdio>

// Cell edges, with the entrance and exit left out. Horizontal edge (x, y)
// runs from (x, y) to (x + 1, y); vertical edge (x, y) from (x, y) to (x, y + 1).
static bool wall_h(const Maze &m, int x, int y) {
    return (y < m.rows && (maze_drawn_walls(m, y, x) & WALL_TOP)) ||
           (y > 0 && (maze_drawn_walls(m, y - 1, x) & WALL_BOTTOM));
}

static bool wall_v(const Maze &m, int x, int y) {
    return (x < m.cols && (maze_drawn_walls(m, y, x) & WALL_LEFT)) ||
           (x > 0 && (maze_drawn_walls(m, y, x - 1) & WALL_RIGHT));
}

void maze_wall_runs(const Maze &m, const std::function<void(int, int, int, int)> &run) {
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x < m.cols; x++) {
            if (!wall_h(m, x, y)) continue;
            int end = x + 1;
            while (end < m.cols && wall_h(m, end, y)) end++;
            run(x, y, end, y);
            x = end;
        }
    for (int x = 0; x <= m.cols; x++)
        for (int y = 0; y < m.rows; y++) {
            if (!wall_v(m, x, y)) continue;
            int end = y + 1;
            while (end < m.rows && wall_v(m, x, end)) end++;
            run(x, y, x, end);
            y = end;
        }
}

static void append(std::string &out, const char *format, auto... args) {
    char buf[160];
    int n = std::snprintf(buf, sizeof buf, format, args...);
    if (n > 0) out.append(buf, std::min<size_t>(size_t(n), sizeof buf - 1));
}

static unsigned rgb(uint32_t argb) {
    return argb & 0xFFFFFF;
}

std::string maze_svg(const Maze &m, const char *algo, const CellPos *path, int n,
                     const char *about) {
    const int vw = m.cols + 2, vh = m.rows + 2;
    const double scale = std::max(std::min(SVG_PAGE_SHORT_MM / vw, SVG_PAGE_LONG_MM / vh),
                                  std::min(SVG_PAGE_LONG_MM / vw, SVG_PAGE_SHORT_MM / vh));
    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    append(svg,
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.2fmm\" height=\"%.2fmm\" "
           "viewBox=\"-1 -1 %d %d\">\n",
           vw * scale, vh * scale, vw, vh);
    append(svg, "<title>Maze %dx%d, %s%s</title>\n", m.cols, m.rows, algo ? algo : "",
           n > 0 ? ", solution" : "");
    if (about) {
        svg += "<desc>";
        for (const char *c = about; *c; c++)
            svg += *c == '<'   ? "&lt;"
                   : *c == '>' ? "&gt;"
                   : *c == '&' ? "&amp;"
                               : std::string(1, *c);
        svg += "</desc>\n";
    }
    append(svg, "<rect x=\"-1\" y=\"-1\" width=\"%d\" height=\"%d\" fill=\"#%06x\"/>\n", vw, vh,
           rgb(EXPORT_BACKGROUND));
    // Square caps close the corners where runs meet.
    append(svg,
           "<path fill=\"none\" stroke=\"#%06x\" stroke-width=\"%.3f\" stroke-linecap=\"square\" "
           "d=\"",
           rgb(EXPORT_WALL), std::max(SVG_WALL_CELLS, SVG_WALL_MIN_MM / scale));
    maze_wall_runs(m, [&](int x0, int y0, int x1, int y1) {
        if (y0 == y1)
            append(svg, "M%d %dH%d", x0, y0, x1);
        else
            append(svg, "M%d %dV%d", x0, y0, y1);
    });
    svg += "\"/>\n";
    if (n > 0 && m.rows > 0 && m.cols > 0) {
        append(svg,
               "<polyline fill=\"none\" stroke=\"#%06x\" stroke-width=\"%.2f\" "
               "stroke-linejoin=\"round\" points=\"0,0.5",
               rgb(EXPORT_PATH), SVG_PATH_CELLS);
        for (int i = 0; i < n; i++) append(svg, " %d.5,%d.5", path[i].col, path[i].row);
        append(svg, " %d,%d.5\"/>\n", m.cols, m.rows - 1);
    }
    svg += "</svg>\n";
    return svg;
}

Picture maze_picture(const Maze &m, const CellPos *path, int n) {
    constexpr int C = PNG_CELL_PX, M = PNG_MARGIN_PX;
    Picture p;
    p.w = 2 * M + C * std::max(m.cols, 0);
    p.h = 2 * M + C * std::max(m.rows, 0);
    p.pixels.assign(size_t(p.w) * p.h, EXPORT_BACKGROUND);
    auto fill = [&](int x0, int y0, int x1, int y1, uint32_t colour) { // inclusive
        for (int y = y0; y <= y1; y++)
            std::fill_n(&p.pixels[size_t(y) * p.w + x0], x1 - x0 + 1, colour);
    };
    // Edge k of the grid lies between pixels M + C*k - 1 and M + C*k.
    for (int y = 0; y <= m.rows; y++)
        for (int x = 0; x < m.cols; x++)
            if (wall_h(m, x, y))
                fill(M + C * x - 1, M + C * y - 1, M + C * (x + 1), M + C * y, EXPORT_WALL);
    for (int x = 0; x <= m.cols; x++)
        for (int y = 0; y < m.rows; y++)
            if (wall_v(m, x, y))
                fill(M + C * x - 1, M + C * y - 1, M + C * x, M + C * (y + 1), EXPORT_WALL);
    if (n > 0 && m.rows > 0 && m.cols > 0) {
        // The band is 2 pixels wide; at is the first of a centre's two pixels.
        auto at = [&](int k) { return M + C * k + C / 2 - 1; };
        auto band = [&](int xa, int ya, int xb, int yb) {
            fill(std::min(xa, xb), std::min(ya, yb), std::max(xa, xb) + 1, std::max(ya, yb) + 1,
                 EXPORT_PATH);
        };
        band(M - 1, at(0), at(0), at(0));
        for (int i = 1; i < n; i++)
            band(at(path[i - 1].col), at(path[i - 1].row), at(path[i].col), at(path[i].row));
        band(at(m.cols - 1), at(m.rows - 1), M + C * m.cols - 1, at(m.rows - 1));
    }
    return p;
}

std::string maze_about(const Maze &m, const char *algo, uint32_t seed) {
    SeedCode code;
    seed_code(seed, code);
    char stats[160];
    format_stats(stats, sizeof stats, maze_stats(m));
    std::string text;
    append(text, "Maze %dx%d, %s, seed %s: %s", m.cols, m.rows, algo ? algo : "", code, stats);
    return text;
}

static uint32_t crc32(const std::string &bytes, size_t from, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + n; i++) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; k++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void png_add_text(std::string &png, const char *key, const std::string &text) {
    // 8 bytes of signature, then IHDR: length 13, type, data, CRC.
    constexpr size_t AFTER_IHDR = 8 + 4 + 4 + 13 + 4;
    if (png.size() < AFTER_IHDR || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        png.compare(12, 4, "IHDR") != 0)
        return;
    std::string data = std::string(key) + '\0' + text;
    std::string chunk;
    auto be32 = [&](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) chunk += char((v >> shift) & 0xFF);
    };
    be32(uint32_t(data.size()));
    chunk += "tEXt" + data;
    be32(crc32(chunk, 4, chunk.size() - 4));
    png.insert(AFTER_IHDR, chunk);
}
