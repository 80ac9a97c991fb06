#include "journey_map_view.h"
#include "journey.h"
#include "journey_map.h"
#include "player.h"
#include "text.h"

#include <SDL2/SDL_opengl.h>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int TILES_ACROSS = 64; // the atlas holds MAX_JOURNEY_CHUNKS tiles
constexpr int ATLAS = TILES_ACROSS * CHUNK_SIZE;
static_assert(TILES_ACROSS * TILES_ACROSS >= MAX_JOURNEY_CHUNKS);

GLuint atlas = 0;
uint32_t uploaded[MAX_JOURNEY_CHUNKS]; // each tile's chunk changes when drawn

constexpr uint32_t UNSEEN = 0xFF0D0808; // the page's ground, as its clear colour
constexpr uint32_t FLOOR = 0xFF403430;  // ABGR bytes in memory: R, G, B, A
constexpr uint32_t WALL = 0xFFFF783D;

void upload_tiles() {
    if (!atlas) {
        glGenTextures(1, &atlas);
        glBindTexture(GL_TEXTURE_2D, atlas);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        std::vector<uint32_t> empty(static_cast<size_t>(ATLAS) * ATLAS, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, ATLAS, ATLAS, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     empty.data());
    }
    glBindTexture(GL_TEXTURE_2D, atlas);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    uint32_t px[CHUNK_SIZE * CHUNK_SIZE];
    for (int s = 0; s < journey_chunk_count; s++) {
        const JourneyChunk &c = journey_chunks[s];
        if (uploaded[s] == c.changes) continue;
        for (int i = 0; i < CHUNK_SIZE * CHUNK_SIZE; i++) {
            bool seen = c.seen[i / 64] >> (i % 64) & 1, wall = c.walls[i / 64] >> (i % 64) & 1;
            px[i] = !seen ? UNSEEN : wall ? WALL : FLOOR;
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, s % TILES_ACROSS * CHUNK_SIZE,
                        s / TILES_ACROSS * CHUNK_SIZE, CHUNK_SIZE, CHUNK_SIZE, GL_RGBA,
                        GL_UNSIGNED_BYTE, px);
        uploaded[s] = c.changes;
    }
}

struct View {
    double cell, x0, y0; // pixels a cell; the screen point of cell coordinate 0, 0
    float sx(double x) const { return static_cast<float>(x0 + x * cell); }
    float sy(double y) const { return static_cast<float>(y0 + y * cell); }
};

// Opaque tiles (unseen cells in the ground's colour), neither blended nor
// tested: the software renderer copies such textured quads on its fastest
// path, and a window full of chunks costs little more than clearing it.
void chunks(const View &v, int w, int h) {
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    const float t = 1.0f / TILES_ACROSS;
    for (int s = 0; s < journey_chunk_count; s++) {
        const JourneyChunk &c = journey_chunks[s];
        float x0 = v.sx(c.cx * CHUNK_SIZE), y0 = v.sy(c.cy * CHUNK_SIZE);
        float x1 = v.sx((c.cx + 1) * CHUNK_SIZE), y1 = v.sy((c.cy + 1) * CHUNK_SIZE);
        if (x1 < 0 || y1 < 0 || x0 > w || y0 > h) continue;
        float u = s % TILES_ACROSS * t, tv = s / TILES_ACROSS * t;
        glTexCoord2f(u, tv);
        glVertex2f(x0, y0);
        glTexCoord2f(u + t, tv);
        glVertex2f(x1, y0);
        glTexCoord2f(u + t, tv + t);
        glVertex2f(x1, y1);
        glTexCoord2f(u, tv + t);
        glVertex2f(x0, y1);
    }
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
}

// A cell's square, never smaller than `least` pixels, so it shows at any zoom.
void cell_square(const View &v, int x, int y, float least, float r, float g, float b) {
    float size = std::fmax(static_cast<float>(v.cell), least);
    float cx = v.sx(x + 0.5), cy = v.sy(y + 0.5);
    fill_rect(cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2, r, g, b, 1);
}

// The markers' squares, then their numbers; those off the window are left
// out, as each number is a text quad of its own.
void markers_drawn(const View &v, int w, int h, float ts) {
    float half = std::fmax(static_cast<float>(v.cell), 8 * ts) / 2;
    auto shown = [&](const Marker &m) {
        float x = v.sx(m.x + 0.5), y = v.sy(m.y + 0.5);
        return x > -40 * ts && y > -20 * ts && x < w + half && y < h + half;
    };
    for (int i = 0; i < marker_count; i++)
        if (shown(markers[i])) cell_square(v, markers[i].x, markers[i].y, 8 * ts, 1, 0.85f, 0.2f);
    for (int i = 0; i < marker_count; i++) {
        if (!shown(markers[i])) continue;
        char number[8];
        std::snprintf(number, sizeof number, "%d", markers[i].number);
        draw_text_quad(font_small, number, SDL_Color{255, 220, 80, 255},
                       v.sx(markers[i].x + 0.5) + half + 2 * ts, v.sy(markers[i].y + 0.5) - 9 * ts,
                       1.0f);
    }
}

void arrow(const View &v, float scale) {
    float cx = v.sx(px), cy = v.sy(py), len = 14 * scale;
    float c = static_cast<float>(std::cos(pa)), s = static_cast<float>(std::sin(pa));
    glColor4f(1.0f, 0.31f, 0.31f, 1.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(cx + c * len, cy + s * len);
    glVertex2f(cx - c * len * 0.6f - s * len * 0.55f, cy - s * len * 0.6f + c * len * 0.55f);
    glVertex2f(cx - c * len * 0.6f + s * len * 0.55f, cy - s * len * 0.6f - c * len * 0.55f);
    glEnd();
}

std::string stats_line() {
    long t = static_cast<long>(journey_seconds);
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "Played %ld:%02ld:%02ld  Walked %.0f  Explored %ld  Farthest %.0f (cells)",
                  t / 3600, t / 60 % 60, t % 60, journey_distance, journey_explored_cells(),
                  journey_farthest);
    return buf;
}

} // namespace

void draw_journey_map(int w, int h) {
    glViewport(0, 0, w, h);
    glClearColor(8 / 255.0f, 8 / 255.0f, 13 / 255.0f, 1.0f); // UNSEEN
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    upload_tiles();
    View v{map_cell_pixels(w, h), 0, 0};
    v.x0 = w / 2.0 - map_x * v.cell;
    v.y0 = h / 2.0 - map_y * v.cell;
    chunks(v, w, h);

    float ts = map_text_scale(w, h);
    float sx = overlay_sx, sy = overlay_sy;
    overlay_sx = overlay_sy = ts;
    cell_square(v, journey_first_x, journey_first_y, 8 * ts, 0.3f, 0.9f, 0.4f);
    markers_drawn(v, w, h, ts);
    glDisable(GL_TEXTURE_2D);
    arrow(v, ts);

    float bar = 26 * ts;
    glDisable(GL_TEXTURE_2D);
    fill_rect(0, 0, static_cast<float>(w), bar, 0, 0, 0, 0.75f);
    fill_rect(0, h - bar, static_cast<float>(w), static_cast<float>(h), 0, 0, 0, 0.75f);
    draw_text_quad(font_small,
                   "JOURNEY MAP  J/Esc: close  wheel + -: zoom  drag, arrows: move  Home: you",
                   SDL_Color{200, 220, 255, 255}, 10 * ts, 5 * ts, 1.0f);
    draw_text_quad(font_small, stats_line().c_str(), SDL_Color{220, 220, 220, 255}, 10 * ts,
                   h - bar + 5 * ts, 1.0f);
    glColor4f(1, 1, 1, 1);
    overlay_sx = sx;
    overlay_sy = sy;
}
