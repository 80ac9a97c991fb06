#include "menu_view.h"
#include "bindings.h"
#include "menu.h"
#include "settings.h"
#include "text.h"

#include <SDL2/SDL_opengl.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int MESSAGE_WIDTH = 520; // the panel's width less its margins, in font pixels

constexpr SDL_Color LABEL{220, 220, 220, 255};
constexpr SDL_Color VALUE{255, 255, 255, 255};
constexpr SDL_Color DIM{150, 150, 160, 255};
constexpr SDL_Color TITLE{200, 220, 255, 255}; // the banner's
constexpr SDL_Color ALARM{255, 50, 50, 255};   // the chat's red
constexpr SDL_Color WAITING{255, 220, 120, 255};

// Controller buttons as players know them, by SDL's names.
const char *button_label(int button) {
    static const char *const LABELS[][2] = {
        {"a", "A"},
        {"b", "B"},
        {"x", "X"},
        {"y", "Y"},
        {"back", "Back"},
        {"guide", "Guide"},
        {"start", "Start"},
        {"leftstick", "Left stick"},
        {"rightstick", "Right stick"},
        {"leftshoulder", "LB"},
        {"rightshoulder", "RB"},
        {"dpup", "D-pad up"},
        {"dpdown", "D-pad down"},
        {"dpleft", "D-pad left"},
        {"dpright", "D-pad right"},
    };
    const char *name = button_name(button);
    for (const auto &l : LABELS)
        if (std::strcmp(name, l[0]) == 0) return l[1];
    return name;
}

void text(const std::string &s, SDL_Color c, float x, float y) {
    if (!s.empty()) draw_text_quad(font_small, s.c_str(), c, x, y, 1.0f);
}

void centred(TTF_Font *font, const char *s, SDL_Color c, const MenuLayout &l, float y) {
    int tw = 0, th = 0;
    if (!font || TTF_SizeUTF8(font, s, &tw, &th) != 0) return;
    draw_text_quad(font, s, c, (l.x0 + l.x1 - tw * l.scale) / 2, y, 1.0f);
}

std::string value_text(const Setting &s) {
    char buf[32];
    double v = setting_value(s);
    switch (s.kind) {
    case SETTING_SWITCH:
        return v ? "On" : "Off";
    case SETTING_CHOICE:
        std::snprintf(buf, sizeof buf, "< %g%s >", v, s.unit);
        return buf;
    default:
        std::snprintf(buf, sizeof buf, "%g%s", v, s.unit);
        return buf;
    }
}

void setting_row(const Setting &s, const MenuLayout &l, float y) {
    float sc = l.scale;
    text(s.label, LABEL, l.x0 + 20 * sc, y);
    if (s.kind != SETTING_SLIDER) {
        text(value_text(s), VALUE, l.value_x, y);
        return;
    }
    float mid = y + l.row_h / 2, f = static_cast<float>((*s.number - s.lo) / (s.hi - s.lo));
    glDisable(GL_TEXTURE_2D);
    fill_rect(l.value_x, mid - 3 * sc, l.value_x + l.track_w, mid + 3 * sc, 0.3f, 0.3f, 0.35f, 1);
    fill_rect(l.value_x, mid - 3 * sc, l.value_x + f * l.track_w, mid + 3 * sc, 0.24f, 0.47f, 1.0f,
              1);
    float knob = l.value_x + f * l.track_w;
    fill_rect(knob - 3 * sc, mid - 7 * sc, knob + 3 * sc, mid + 7 * sc, 0.85f, 0.9f, 1.0f, 1);
    text(value_text(s), VALUE, l.value_x + l.track_w + 14 * sc, y);
}

void action_row(int row, const MenuLayout &l, float y) {
    auto a = static_cast<Action>(row);
    float sc = l.scale;
    text(ACTIONS[a].label, LABEL, l.x0 + 20 * sc, y);
    for (int c = 0; c <= MENU_KEY_COLUMNS; c++) {
        bool chosen = row == menu_row && c == menu_column;
        if (chosen) {
            glDisable(GL_TEXTURE_2D);
            fill_rect(l.column_x[c], y + 1 * sc, l.column_x[c + 1] - 6 * sc, y + l.row_h - 1 * sc,
                      0.24f, 0.47f, 1.0f, 0.45f);
        }
        std::string cell =
            c < MENU_KEY_COLUMNS ? key_name(a, action_keys[a][c]) : button_label(action_pad[a]);
        if (chosen && menu_waiting)
            text("...", WAITING, l.column_x[c] + 6 * sc, y);
        else
            text(cell.empty() ? "-" : cell, cell.empty() ? DIM : VALUE, l.column_x[c] + 6 * sc, y);
    }
}

bool fits(TTF_Font *font, const std::string &s, int width) {
    int w = 0, h = 0;
    return TTF_SizeUTF8(font, s.c_str(), &w, &h) == 0 && w <= width;
}

// The longest start of `s` (whole UTF-8 characters, at least one) that fits.
size_t fitting_start(TTF_Font *font, const std::string &s, int width) {
    size_t lo = 0, hi = s.size() + 1;
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        (fits(font, s.substr(0, mid), width) ? lo : hi) = mid;
    }
    while (lo > 0 && lo < s.size() && (static_cast<unsigned char>(s[lo]) & 0xC0) == 0x80) lo--;
    size_t one = 1;
    while (one < s.size() && (static_cast<unsigned char>(s[one]) & 0xC0) == 0x80) one++;
    return lo ? lo : one;
}

// Greedy wrapping at spaces. A word wider than a line (a path) goes on where
// the line stands and breaks at its edge, after a folder mark if one is near.
std::vector<std::string> wrap(TTF_Font *font, const std::string &s, int width) {
    std::vector<std::string> lines;
    std::string line;
    size_t start = 0;
    while (start <= s.size()) {
        size_t space = s.find(' ', start);
        std::string word = s.substr(start, space == std::string::npos ? space : space - start);
        start = space == std::string::npos ? s.size() + 1 : space + 1;
        std::string joined = line.empty() ? word : line + " " + word;
        if (fits(font, joined, width)) {
            line = joined;
            continue;
        }
        line = fits(font, word, width) ? (lines.push_back(line), word) : joined;
        while (!fits(font, line, width)) {
            size_t n = fitting_start(font, line, width);
            size_t mark = line.find_last_of("/\\", n - 1);
            if (mark != std::string::npos && mark + 1 > n / 2 && mark + 1 < n) n = mark + 1;
            lines.push_back(line.substr(0, n));
            line.erase(0, n);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace

std::vector<std::string> menu_message_lines(TTF_Font *font, const std::string &message, int width) {
    std::vector<std::string> lines = wrap(font, message, width);
    // The path: from the first folder mark that starts a word (/home,
    // C:\Users) to the last one before the ": " that ends it (a reason may
    // hold a '/' too).
    size_t first = message.find_first_of("/\\");
    while (first != std::string::npos && first > 0 && message[first - 1] != ' ' &&
           !(first > 1 && message[first - 1] == ':' && message[first - 2] != ' '))
        first = message.find_first_of("/\\", first + 1);
    size_t last =
        message.find_last_of("/\\", first == std::string::npos ? first : message.find(": ", first));
    if (lines.size() > 2 && first != std::string::npos && first < last) {
        // A path too long: the most of its start that lets it all fit in two
        // lines, then "...", then its last folder mark, file name and reason.
        auto shortened = [&](size_t keep) {
            while (keep > 0 &&
                   (static_cast<unsigned char>(message[first + 1 + keep]) & 0xC0) == 0x80)
                keep--;
            return wrap(font, message.substr(0, first + 1 + keep) + "\u2026" + message.substr(last),
                        width);
        };
        size_t lo = 0, hi = last - first - 1; // keeping hi characters is too many
        while (hi - lo > 1) {
            size_t mid = (lo + hi) / 2;
            (shortened(mid).size() <= 2 ? lo : hi) = mid;
        }
        lines = shortened(lo);
    }
    if (lines.size() > 2) { // a file name or reason longer than the panel: its end shows
        std::string rest;
        for (size_t i = 1; i < lines.size(); i++) rest += (i > 1 ? " " : "") + lines[i];
        while (!fits(font, "\u2026" + rest, width)) rest.erase(0, fitting_start(font, rest, 1));
        lines = {lines[0], "\u2026" + rest};
    }
    return lines;
}

void draw_menu(int w, int h) {
    MenuLayout l = menu_layout(w, h);
    float sx = overlay_sx, sy = overlay_sy, sc = l.scale;
    overlay_sx = overlay_sy = sc; // the panel keeps its shape at any window size

    glDisable(GL_TEXTURE_2D);
    fill_rect(0, 0, static_cast<float>(w), static_cast<float>(h), 0, 0, 0, 0.55f);
    fill_rect(l.x0, l.y0, l.x1, l.y1, 0.06f, 0.06f, 0.1f, 0.94f);
    outline_rect(l.x0, l.y0, l.x1, l.y1, 0.35f, 0.35f, 0.4f, 0.9f); // as the chat line's box
    bool controls = menu_page == MENU_CONTROLS;
    centred(font_medium, controls ? "CONTROLS" : "OPTIONS", TITLE, l, l.y0 + 8 * sc);
    if (controls) {
        const char *heads[] = {"Key", "Key", "Controller"};
        for (int c = 0; c <= MENU_KEY_COLUMNS; c++)
            text(heads[c], DIM, l.column_x[c] + 6 * sc, l.rows_top - 19 * sc);
    }

    for (int i = 0; i < menu_row_count(); i++) {
        float y = l.rows_top + i * l.row_h;
        MenuRow r = menu_row_at(i);
        if (i == menu_row && r.kind != ROW_ACTION) {
            glDisable(GL_TEXTURE_2D);
            fill_rect(l.x0 + 6 * sc, y, l.x1 - 6 * sc, y + l.row_h, 0.24f, 0.47f, 1.0f, 0.35f);
        }
        switch (r.kind) {
        case ROW_SETTING:
            setting_row(SETTINGS[r.index], l, y);
            break;
        case ROW_ACTION:
            action_row(i, l, y);
            break;
        default: {
            const char *labels[] = {"Resume",    "", "Controls  >", "Reset to defaults",
                                    "Quit game", "", "< Back"};
            text(labels[r.kind], VALUE, l.x0 + 20 * sc, y);
            break;
        }
        }
    }

    if (!menu_message.empty()) {
        static std::string wrapped;
        static std::vector<std::string> lines;
        if (wrapped != menu_message) { // measured once, not every frame
            wrapped = menu_message;
            lines = font_small ? menu_message_lines(font_small, wrapped, MESSAGE_WIDTH)
                               : std::vector<std::string>{};
        }
        int skip = font_small ? TTF_FontLineSkip(font_small) : 0;
        for (size_t i = 0; i < lines.size(); i++)
            text(lines[i], menu_message_is_error ? ALARM : VALUE, l.x0 + 20 * sc,
                 l.message_y + static_cast<float>(i) * skip * sc);
    } else
        text(controls ? "Enter: change   Del: clear   Esc: back"
                      : "\u2191\u2193 choose   \u2190\u2192 change   Enter: act   Esc: close",
             DIM, l.x0 + 20 * sc, l.message_y);
    glColor4f(1, 1, 1, 1);
    overlay_sx = sx;
    overlay_sy = sy;
}
