#include "draw.h"

#include "layout.h"
#include "status.h"
#include "text.h"

static SDL_Rect wall_rects[MAX_WALL_RECTS];
static CellPos path[MAZE_CELLS];
static SDL_Rect path_rects[MAZE_CELLS + 1];

static void set_color(SDL_Renderer *r, uint32_t argb) {
    SDL_SetRenderDrawColor(r, static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                           static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24));
}

static void fill(SDL_Renderer *r, SDL_Rect rect, uint32_t argb) {
    set_color(r, argb);
    SDL_RenderFillRect(r, &rect);
}

void btn_draw(SDL_Renderer *r, const Button &b, int hovered) {
    fill(r, b.rect, hovered ? b.hover_color : b.color);
    int w = 0;
    int h = 0;
    if (!b.font || !b.label || TTF_SizeUTF8(b.font, b.label, &w, &h) != 0) return;
    draw_text(r, b.rect.x + (b.rect.w - w) / 2, b.rect.y + (b.rect.h - h) / 2, b.label,
              COLOR_CAPTION, b.font);
}

static void draw_maze(SDL_Renderer *r, const Maze &m, bool solution) {
    MazeLayout layout = maze_layout(m.rows, m.cols);
    set_color(r, COLOR_WALL);
    // One batch keeps a 100 x 160 maze (up to 64,000 lines) cheap per frame.
    int n = maze_wall_rects(m, layout, wall_rects, MAX_WALL_RECTS);
    if (n > 0) SDL_RenderFillRects(r, wall_rects, n);
    auto frame = maze_frame_rects(m.rows, m.cols, layout);
    SDL_RenderFillRects(r, frame.data(), static_cast<int>(frame.size()));
    if (!solution) return;
    // Solved afresh each frame like everything else here: at the largest
    // size the search takes about 0.3 ms of CPU (bench_maze).
    const int steps = maze_solve(m, path, MAZE_CELLS);
    const int k = maze_path_rects(path, steps, m.rows, m.cols, layout, path_rects, MAZE_CELLS + 1);
    set_color(r, COLOR_PATH);
    if (k > 0) SDL_RenderFillRects(r, path_rects, k);
}

void draw_view(SDL_Renderer *r, const ViewState &s, const Maze &m, uint32_t now) {
    fill(r, {0, 0, WINDOW_W, WINDOW_H}, COLOR_BACKGROUND);
    fill(r, {0, 0, WINDOW_W, TOOLBAR_H}, COLOR_TOOLBAR);
    for (int i = 0; i < BUTTON_COUNT; i++) btn_draw(r, s.buttons[i], s.hovered == i);
    char status[STATUS_BYTES];
    const uint32_t color = status_line(status, s, m, now);
    draw_text(r, STATUS_X, STATUS_Y, status, color, font_sm);
    draw_text(r, HELP_X, HELP_Y, KEY_HELP, COLOR_STATUS, font_sm);
    draw_text(r, HELP_X, HELP2_Y, KEY_HELP_2, COLOR_STATUS, font_sm);
    draw_maze(r, m, s.show_solution);
}
