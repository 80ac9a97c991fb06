#include "draw.h"

#include "layout.h"
#include "status.h"
#include "text.h"

#include <cstring>

// What the drawing works out from the maze, kept until the maze changes:
// the window redraws an unchanged maze whenever the pointer crosses a button.
static Maze drawn_maze; // the maze the rectangles below were made for
static bool drawn_any;
static SDL_Rect wall_rects[MAX_WALL_RECTS];
static int wall_count;
static CellPos path[MAZE_CELLS];
static SDL_Rect path_rects[MAZE_CELLS + 1];
static int path_count = -1; // -1: not solved yet for this maze

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

// Compared by content rather than told of changes, so that no way of making
// a maze can leave an old drawing on the screen.
static bool same_maze(const Maze &m) {
    return drawn_any && m.rows == drawn_maze.rows && m.cols == drawn_maze.cols &&
           std::memcmp(m.cells, drawn_maze.cells, sizeof m.cells) == 0;
}

static void draw_maze(SDL_Renderer *r, const Maze &m, bool solution) {
    MazeLayout layout = maze_layout(m.rows, m.cols);
    if (!same_maze(m)) {
        drawn_maze = m;
        drawn_any = true;
        wall_count = maze_wall_rects(m, layout, wall_rects, MAX_WALL_RECTS);
        path_count = -1;
    }
    set_color(r, COLOR_WALL);
    // One batch keeps a 100 x 160 maze (up to 64,000 lines) cheap to draw.
    if (wall_count > 0) SDL_RenderFillRects(r, wall_rects, wall_count);
    auto frame = maze_frame_rects(m.rows, m.cols, layout);
    SDL_RenderFillRects(r, frame.data(), static_cast<int>(frame.size()));
    if (!solution) return;
    if (path_count < 0) {
        const int steps = maze_solve(m, path, MAZE_CELLS);
        path_count =
            maze_path_rects(path, steps, m.rows, m.cols, layout, path_rects, MAZE_CELLS + 1);
    }
    set_color(r, COLOR_PATH);
    if (path_count > 0) SDL_RenderFillRects(r, path_rects, path_count);
}

void draw_view(SDL_Renderer *r, const ViewState &s, const Maze &m, const char *status,
               uint32_t status_color) {
    fill(r, {0, 0, WINDOW_W, WINDOW_H}, COLOR_BACKGROUND);
    fill(r, {0, 0, WINDOW_W, TOOLBAR_H}, COLOR_TOOLBAR);
    for (int i = 0; i < BUTTON_COUNT; i++) btn_draw(r, s.buttons[i], s.hovered == i);
    draw_text(r, status_x(s.buttons), STATUS_Y, status, status_color, font_sm);
    char stats[STATUS_BYTES];
    format_stats_line(stats, s.stats);
    draw_text(r, status_x(s.buttons), STATS_Y, stats, COLOR_STATUS, font_sm);
    draw_text(r, HELP_X, HELP_Y, KEY_HELP, COLOR_STATUS, font_sm);
    draw_text(r, HELP_X, HELP2_Y, KEY_HELP_2, COLOR_STATUS, font_sm);
    draw_maze(r, m, s.show_solution);
}
