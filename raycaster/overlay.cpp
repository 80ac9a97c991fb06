#include "overlay.h"
#include "chat_view.h"
#include "clock.h"
#include "config.h"
#include "game.h"
#include "journey.h"
#include "journey_map.h"
#include "journey_map_view.h"
#include "menu.h"
#include "menu_view.h"
#include "player.h"
#include "scene.h"
#include "settings.h"
#include "sys.h"
#include "text.h"
#include "textures.h"
#include "title.h"
#include "world.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// DREVIX in slanted strokes, each line padded to 50 so that centring every
// line on its own keeps the letters aligned.
const char *const ascii_art[7] = {
    "    ////    ////    //////  //  //  //  //  //    ",
    "   //  //  //  //  //      //  //  //  //  //     ",
    "  //  //  ////    ////    //  //  //    //        ",
    " //  //  //  //  //      //  //  //  //  //       ",
    "////    //  //  //////    //    //  //  //        ",
    "                                                   ",
    "           R A Y C A S T E R",
};

namespace {

void screen_space(int w, int h) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void begin_2d(int w, int h) {
    screen_space(w, h);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Title lines are sized by measuring, then centred on their own.
void centred_title_line(TTF_Font *font, const char *text, SDL_Color color, int w, float y,
                        float alpha) {
    int tw = 0, th = 0;
    if (!font || TTF_SizeUTF8(font, text, &tw, &th) != 0) return;
    draw_text_quad_sized(font, text, color, (w - tw * overlay_sx) / 2, y, alpha, tw, th);
}

void intro_fade(uint32_t ticks, int w, int h) {
    double t = intro_progress(ticks, intro_start);
    if (t >= 1.0) return;
    double e = intro_ease(t);
    glDisable(GL_TEXTURE_2D);
    fill_rect(0, 0, w, h, 0, 0, 0, static_cast<float>(1.0 - e));
    glColor4f(1, 1, 1, 1);
}

// Continue and New journey, the chosen one bright.
void title_choices(int w, int h) {
    TitleLayout l = title_layout(w, h);
    const char *rows[] = {"Continue", "New journey"};
    float ys[] = {l.continue_y, l.new_y};
    for (int i = 0; i < 2; i++) {
        bool chosen = i == title_row;
        SDL_Color c = chosen ? SDL_Color{255, 255, 255, 255} : SDL_Color{150, 150, 160, 255};
        centred_title_line(font_large, rows[i], c, w, ys[i], 1.0f);
    }
    const char *prompt = title_confirming
                             ? "Start a new journey? The kept one is lost.  Enter / A: yes   "
                               "Esc / B: no"
                             : "Any key continues   N: new journey   O: options";
    centred_title_line(font_small, prompt,
                       title_confirming ? SDL_Color{255, 220, 120, 255}
                                        : SDL_Color{200, 200, 200, 255},
                       w, l.prompt_y, 1.0f);
}

// The latest notice, fading over its last second.
void draw_notice(uint32_t ticks) {
    uint32_t age = elapsed_ms(ticks, notice_at);
    if (notice.empty() || age >= NOTICE_MS) return;
    float a = age + 1000 > NOTICE_MS ? (NOTICE_MS - age) / 1000.0f : 1.0f;
    SDL_Color c = notice_is_error ? SDL_Color{255, 50, 50, 255} : SDL_Color{255, 255, 255, 255};
    draw_text_quad(font_small, notice.c_str(), c, 10 * overlay_sx, 552 * overlay_sy, a);
}

} // namespace

void draw_title_screen(uint32_t ticks) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(win, &w, &h);
    set_overlay_scale(w, h);
    glViewport(0, 0, w, h); // the window may have been resized on the title
    glClearColor(0.04f, 0.04f, 0.08f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    begin_2d(w, h);

    if (tex_bg) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, tex_bg);
        glColor4f(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(0, 0);
        glTexCoord2f(1, 0);
        glVertex2f(w, 0);
        glTexCoord2f(1, 1);
        glVertex2f(w, h);
        glTexCoord2f(0, 1);
        glVertex2f(0, h);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        fill_rect(0, 0, w, h, 0, 0, 0, 0.63f);
    } else {
        glDisable(GL_TEXTURE_2D);
        fill_rect(0, 0, w, h, 0.04f, 0.04f, 0.08f, 1.0f);
    }

    int line_h = 0;
    if (font_medium) TTF_SizeUTF8(font_medium, "X", nullptr, &line_h);
    int top = static_cast<int>(0.18 * h);
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < 7; i++) {
        float y = top + (line_h * i) * 1.15f * overlay_sy;
        centred_title_line(font_medium, ascii_art[i], SDL_Color{200, 220, 255, 255}, w, y, 1.0f);
    }

    auto b =
        static_cast<uint8_t>(static_cast<int>((std::sin(ticks * 0.003) * 0.5 + 0.5) * 135) + 120);
    if (title_has_journey)
        title_choices(w, h);
    else
        centred_title_line(font_large, "press anywhere to play", SDL_Color{200, 200, 200, 255}, w,
                           0.82f * h, b / 255.0f);

    draw_notice(ticks);
    if (menu_open) draw_menu(w, h);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    text_frame_end();
    sys_present();
}

void draw_map_page(uint32_t ticks, int w, int h) {
    draw_journey_map(w, h);
    set_overlay_scale(w, h);
    draw_notice(ticks);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    text_frame_end();
    sys_present();
}

void draw_map(int w, int h) {
    // The reference layout at s = 1, scaled as one piece so the panel stays
    // on screen and the cells keep touching.
    float s = h > w ? w / 960.0f : h / 600.0f;
    float cs = 6 * s;
    float ox = w - 192 * s, oy = 12 * s;
    glDisable(GL_TEXTURE_2D);
    fill_rect(w - 194 * s, 10 * s, ox + 182 * s, oy + 182 * s, 0, 0, 0, 0.55f);

    float cx = ox + 90 * s, cy = oy + 90 * s;
    int pcx = static_cast<int>(px), pcy = static_cast<int>(py); // truncated, as the readout
    for (int row = pcy - 9; row <= pcy + 9; row++)
        for (int col = pcx - 9; col <= pcx + 9; col++) {
            int code = world_cell(col, row);
            journey_explore(col, row, code != CELL_OPEN); // what the map shows is seen
            if (code == CELL_OPEN) continue;
            float x0 = cx + (col - pcx) * cs - cs / 2, y0 = cy + (row - pcy) * cs - cs / 2;
            fill_rect(x0, y0, x0 + cs, y0 + cs, 0.24f, 0.47f, 1.0f, 0.8f);
        }
    for (int i = 0; i < marker_count; i++) {
        const Marker &m = markers[i];
        if (std::abs(m.x - pcx) > 9 || std::abs(m.y - pcy) > 9) continue;
        float x0 = cx + (m.x - pcx) * cs - cs / 2, y0 = cy + (m.y - pcy) * cs - cs / 2;
        fill_rect(x0, y0, x0 + cs, y0 + cs, 1.0f, 0.85f, 0.2f, 1.0f);
        char number[8];
        std::snprintf(number, sizeof number, "%d", m.number);
        draw_text_quad(font_small, number, SDL_Color{255, 220, 80, 255}, x0 + cs, y0 - cs, 1.0f);
        glDisable(GL_TEXTURE_2D);
    }

    float c = static_cast<float>(std::cos(pa)), n = static_cast<float>(std::sin(pa));
    float len = 1.8f * cs;
    float tipx = cx + c * len, tipy = cy + n * len;
    float backx = tipx - 0.4f * c * len, backy = tipy - 0.4f * n * len;
    float sidex = -n * 0.7f * cs, sidey = c * 0.7f * cs;
    glColor4f(1.0f, 0.31f, 0.31f, 1.0f);
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2f(cx, cy);
    glVertex2f(tipx, tipy);
    glVertex2f(tipx, tipy);
    glVertex2f(backx + sidex, backy + sidey);
    glVertex2f(tipx, tipy);
    glVertex2f(backx - sidex, backy - sidey);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glLineWidth(1);
}

void draw_overlay(int state, uint32_t ticks, int w, int h) {
    set_overlay_scale(w, h);
    begin_2d(w, h);
    if (state == STATE_INTRO) intro_fade(ticks, w, h);
    if (state == STATE_PLAY && show_map) draw_map(w, h);

    char readout[64];
    std::snprintf(readout, sizeof readout, "%.1f, %.1f", px, py);
    draw_text_quad(font_small, readout, SDL_Color{220, 220, 220, 255}, 10 * overlay_sx,
                   574 * overlay_sy, 1.0f);
    if (show_fps) {
        char fps[32];
        std::snprintf(fps, sizeof fps, "%d fps", frames_per_second);
        int tw = 0, th = 0;
        if (font_small && TTF_SizeUTF8(font_small, fps, &tw, &th) == 0)
            draw_text_quad(font_small, fps, SDL_Color{220, 220, 220, 255},
                           w - (tw + 10) * overlay_sx, 574 * overlay_sy, 1.0f);
    }
    draw_notice(ticks);
    draw_chat(ticks, w, h);
    if (menu_open) draw_menu(w, h);

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    text_frame_end();
    sys_present();
}
