#include "chat_view.h"
#include "chat_store.h"
#include "clock.h"
#include "text.h"

#include <SDL2/SDL_opengl.h>
#include <cstdio>

// The backings first, in one batch, then the lines over them: the flood of
// presence lines redraws eight rows every frame, and each separate draw
// costs the software renderer more than its pixels do. Marks that reach
// past a line's own row now show over the neighbouring backing.
static void draw_messages(uint32_t ticks) {
    const float sx = overlay_sx, sy = overlay_sy;
    int first = chat_first_visible();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    for (int i = first; i < chat_msg_total; i++) {
        double f = chat_fade(elapsed_ms(ticks, chat_msg_times[i % CHAT_SLOTS]));
        if (f < 0) continue; // expired: its row stays empty
        float x0 = 10 * sx, x1 = x0 + 480 * sx;
        float y0 = (28 + 18 * (i - first)) * sy, y1 = y0 + 16 * sy;
        glColor4f(0.1f, 0.1f, 0.12f, static_cast<float>(0.85 * f));
        glVertex2f(x0, y0);
        glVertex2f(x1, y0);
        glVertex2f(x1, y1);
        glVertex2f(x0, y1);
    }
    glEnd();
    for (int i = first; i < chat_msg_total; i++) {
        int slot = i % CHAT_SLOTS;
        double f = chat_fade(elapsed_ms(ticks, chat_msg_times[slot]));
        if (f < 0) continue;
        auto a = static_cast<Uint8>(f * 255);
        SDL_Color color =
            chat_is_red(chat_msgs[slot]) ? SDL_Color{255, 50, 50, a} : SDL_Color{255, 255, 255, a};
        draw_text_quad(font_small, chat_msgs[slot], color, 10 * sx, (28 + 18 * (i - first)) * sy,
                       static_cast<float>(f));
    }
}

static void draw_input(uint32_t ticks, int w, int h) {
    ChatLayout l = chat_layout(w, h);
    glDisable(GL_TEXTURE_2D);
    fill_rect(l.x0, l.y0, l.x1, l.y1, 0.1f, 0.1f, 0.12f, 0.85f);
    outline_rect(l.x0, l.y0, l.x1, l.y1, 0.35f, 0.35f, 0.4f, 0.9f);

    char line[300];
    char cursor = (ticks / 500) % 2 ? '_' : ' ';
    std::snprintf(line, sizeof line, "> %.*s%c", chat_buf_len, chat_buf, cursor);
    draw_text_quad(font_small, line, SDL_Color{200, 200, 200, 255}, l.x0 + 4.0f, l.y0 + 2.0f, 1.0f);

    float bx0 = l.close_x, by0 = l.close_y, bx1 = bx0 + l.close_w, by1 = by0 + l.close_h;
    glDisable(GL_TEXTURE_2D);
    fill_rect(bx0, by0, bx1, by1, 0.5f, 0.15f, 0.15f, 0.85f);
    outline_rect(bx0, by0, bx1, by1, 0.7f, 0.2f, 0.2f, 1.0f);
    glColor4f(1, 1, 1, 1);

    int tw = 0, th = 0;
    if (font_small && TTF_SizeUTF8(font_small, "X", &tw, &th) == 0)
        draw_text_quad(font_small, "X", SDL_Color{255, 255, 255, 255},
                       bx0 + (l.close_w - tw * overlay_sx) / 2,
                       by0 + (l.close_h - th * overlay_sy) / 2, 1.0f);
}

void draw_chat(uint32_t ticks, int w, int h) {
    if (chat_msg_total > 0) draw_messages(ticks);
    if (chat_open) draw_input(ticks, w, h);
}
