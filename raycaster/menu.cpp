#include "menu.h"
#include "bindings.h"
#include "clock.h"
#include "game.h"
#include "settings.h"
#include "settings_file.h"
#include "sys.h"

#include <cmath>

int menu_open = 0;
int menu_page = MENU_MAIN;
int menu_row = 0;
int menu_column = 0;
int menu_waiting = 0;
std::string menu_message;
int menu_message_is_error = 0;
uint32_t menu_opened_at = 0;

namespace {

int mouse_look_saved = 0;
int dragging = -1;            // the slider row the mouse holds
int hover_row = -2;           // the row last under the pointer; -2 not yet known
int stick_x = 0, stick_y = 0; // the left stick's last step direction
std::string failed_save;      // the settings a save failed with, not retried on close

constexpr int MAIN_EXTRA_ROWS = 4; // Resume, Controls, Reset, Quit

int shown_settings() {
    int n = 0;
    for (int i = 0; i < SETTING_COUNT; i++) n += SETTINGS[i].label != nullptr;
    return n;
}

void say(const std::string &text, int error = 0) {
    menu_message = text;
    menu_message_is_error = error;
}

void changed() {
    settings_changed_by_player = 1;
    settings_apply();
}

void go_to(int row) {
    int n = menu_row_count();
    menu_row = (row % n + n) % n; // wraps: up from the top reaches Quit at once
}

void step_setting(const Setting &s, int dir) {
    double v = setting_value(s);
    if (s.kind == SETTING_CHOICE) {
        int i = 0;
        while (i < s.choice_count && s.choices[i] != v) i++;
        // Choices run from best to fastest; right moves down the list.
        i = i == s.choice_count ? 0 : (i + dir + s.choice_count) % s.choice_count;
        v = s.choices[i];
    } else if (s.kind == SETTING_SWITCH) {
        v = !v;
    } else {
        v = std::round((v + dir * s.step) / s.step) * s.step;
    }
    set_setting_value(s, v);
    changed();
}

void set_slider_at(const Setting &s, const MenuLayout &l, float x) {
    double f = (x - l.value_x) / l.track_w;
    f = f < 0 ? 0 : f > 1 ? 1 : f;
    double v = s.lo + f * (s.hi - s.lo);
    set_setting_value(s, std::round(v / s.step) * s.step);
    changed();
}

void start_waiting() {
    menu_waiting = 1;
    say(menu_column < MENU_KEY_COLUMNS ? "Press a key (Esc cancels)"
                                       : "Press a controller button (B cancels)");
}

void bound(Action a, int gave_up, const std::string &what) {
    std::string text = std::string(ACTIONS[a].label) + ": " + what;
    if (gave_up >= 0) text += "  (swapped with " + std::string(ACTIONS[gave_up].label) + ")";
    say(text);
    menu_waiting = 0;
    changed();
}

void bind_pressed_key(const SDL_Keysym &key) {
    auto a = static_cast<Action>(menu_row_at(menu_row).index);
    int code = key_code_for(a, key);
    std::string why;
    int out[KEYS_PER_ACTION];
    std::string name = key_name(a, code);
    if (code == 0 || !parse_keys(a, name, out, &why)) {
        say(code == 0 ? "That key cannot be bound" : why, 1);
        menu_waiting = 0;
        return;
    }
    bound(a, bind_key(a, menu_column, code), name);
}

void bind_pressed_button(int button) {
    auto a = static_cast<Action>(menu_row_at(menu_row).index);
    int checked;
    std::string why;
    if (!parse_button(a, button_name(button), &checked, &why)) {
        say(why, 1);
        menu_waiting = 0;
        return;
    }
    bound(a, bind_button(a, button), button_name(button));
}

void clear_cell() {
    MenuRow r = menu_row_at(menu_row);
    if (r.kind != ROW_ACTION) return;
    auto a = static_cast<Action>(r.index);
    if (menu_column < MENU_KEY_COLUMNS)
        action_keys[a][menu_column] = 0;
    else
        action_pad[a] = NO_BUTTON;
    say(std::string(ACTIONS[a].label) + ": cleared");
    changed();
}

void back() {
    if (menu_waiting) {
        menu_waiting = 0;
        say("");
    } else if (menu_page == MENU_CONTROLS) {
        menu_page = MENU_MAIN;
        menu_row = 1 + shown_settings(); // back on Controls
        say("");
    } else {
        menu_close_panel();
    }
}

// Enter, A or a click on the chosen row.
void act() {
    MenuRow r = menu_row_at(menu_row);
    switch (r.kind) {
    case ROW_RESUME:
        menu_close_panel();
        break;
    case ROW_SETTING:
        step_setting(SETTINGS[r.index], 1);
        break;
    case ROW_CONTROLS:
        menu_page = MENU_CONTROLS;
        menu_row = menu_column = 0;
        say("");
        break;
    case ROW_RESET:
        settings_reset_preferences();
        changed();
        say("Settings and controls reset to their defaults");
        break;
    case ROW_QUIT:
        quit_requested = true;
        break;
    case ROW_ACTION:
        start_waiting();
        break;
    case ROW_BACK:
        back();
        break;
    }
}

void sideways(int dir) {
    MenuRow r = menu_row_at(menu_row);
    if (r.kind == ROW_SETTING) step_setting(SETTINGS[r.index], dir);
    if (r.kind == ROW_ACTION) menu_column = (menu_column + dir + 3) % 3;
}

void key_down(const SDL_Keysym &key, bool repeat) {
    if (menu_waiting) { // a key for a key cell; Esc cancels either kind
        if (key.sym == SDLK_ESCAPE)
            back();
        else if (menu_column < MENU_KEY_COLUMNS)
            bind_pressed_key(key);
        return;
    }
    switch (key.sym) {
    case SDLK_UP:
        go_to(menu_row - 1);
        break;
    case SDLK_DOWN:
        go_to(menu_row + 1);
        break;
    case SDLK_LEFT:
        sideways(-1);
        break;
    case SDLK_RIGHT:
        sideways(1);
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
        act();
        break;
    case SDLK_BACKSPACE:
    case SDLK_DELETE:
        if (menu_page == MENU_CONTROLS) clear_cell();
        break;
    case SDLK_ESCAPE:
        back();
        break;
    default:
        // Held down, the key that opened the menu must not close it again.
        if (!repeat && (key.sym == MENU_KEY || key_is(ACTION_OPTIONS, key))) menu_close_panel();
        break;
    }
}

void pad_down(int button) {
    if (menu_waiting) { // a button for the button cell; B cancels either kind
        if (button == SDL_CONTROLLER_BUTTON_B)
            back();
        else if (menu_column == MENU_KEY_COLUMNS)
            bind_pressed_button(button);
        return;
    }
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        go_to(menu_row - 1);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        go_to(menu_row + 1);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        sideways(-1);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        sideways(1);
        break;
    case SDL_CONTROLLER_BUTTON_A:
        act();
        break;
    case SDL_CONTROLLER_BUTTON_B:
        back();
        break;
    case SDL_CONTROLLER_BUTTON_START:
        menu_waiting = 0;
        menu_close_panel();
        break;
    default:
        break;
    }
}

// The left stick steps once each time it is pushed past half way.
void stick(int axis, int value) {
    if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    int dir = value > 16384 ? 1 : value < -16384 ? -1 : 0;
    int &last = axis == SDL_CONTROLLER_AXIS_LEFTX ? stick_x : stick_y;
    if (dir == last) return;
    last = dir;
    if (!dir || menu_waiting) return;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY)
        go_to(menu_row + dir);
    else
        sideways(dir);
}

// The row and, on the controls page, the cell under a drawable point.
int row_at(const MenuLayout &l, float x, float y, int *column) {
    if (x < l.x0 || x >= l.x1 || y < l.rows_top) return -1;
    int row = static_cast<int>((y - l.rows_top) / l.row_h);
    if (row >= menu_row_count()) return -1;
    *column = -1;
    for (int c = 0; c <= MENU_KEY_COLUMNS; c++)
        if (x >= l.column_x[c] && x < l.column_x[c + 1]) *column = c;
    return row;
}

void mouse(const SDL_Event &ev) {
    int dw, dh, x, y;
    sys_drawable_size(&dw, &dh);
    bool press = ev.type == SDL_MOUSEBUTTONDOWN, motion = ev.type == SDL_MOUSEMOTION;
    if (motion)
        drawable_point(ev.motion.x, ev.motion.y, &x, &y);
    else
        drawable_point(ev.button.x, ev.button.y, &x, &y);
    MenuLayout l = menu_layout(dw, dh);
    if (ev.type == SDL_MOUSEBUTTONUP) dragging = -1;
    if (motion && dragging >= 0) {
        set_slider_at(SETTINGS[menu_row_at(dragging).index], l, static_cast<float>(x));
        return;
    }
    int column = -1;
    int row = row_at(l, static_cast<float>(x), static_cast<float>(y), &column);
    if (motion) {
        // Only a move onto another row chooses it: the pointer resting
        // where the menu opened (or warped there) leaves the keys' choice.
        if (hover_row != -2 && row != hover_row && row >= 0 && !menu_waiting) menu_row = row;
        hover_row = row;
        return;
    }
    if (row < 0 || menu_waiting) return;
    if (!press || ev.button.button != SDL_BUTTON_LEFT) return;
    menu_row = row;
    MenuRow r = menu_row_at(row);
    if (r.kind == ROW_ACTION) {
        if (column < 0) return;
        menu_column = column;
        start_waiting();
    } else if (r.kind == ROW_SETTING && SETTINGS[r.index].kind == SETTING_SLIDER) {
        if (x < l.value_x - l.row_h || x > l.value_x + l.track_w + l.row_h) return;
        dragging = row;
        set_slider_at(SETTINGS[r.index], l, static_cast<float>(x));
    } else {
        act();
    }
}

} // namespace

int menu_row_count() {
    return menu_page == MENU_MAIN ? shown_settings() + MAIN_EXTRA_ROWS : ACTION_COUNT + 1;
}

MenuRow menu_row_at(int row) {
    if (menu_page == MENU_CONTROLS)
        return row < ACTION_COUNT ? MenuRow{ROW_ACTION, row} : MenuRow{ROW_BACK, 0};
    if (row == 0) return {ROW_RESUME, 0};
    int shown = 0;
    for (int i = 0; i < SETTING_COUNT; i++)
        if (SETTINGS[i].label && ++shown == row) return {ROW_SETTING, i};
    int extra = row - shown_settings();
    return {extra == 1 ? ROW_CONTROLS : extra == 2 ? ROW_RESET : ROW_QUIT, 0};
}

void menu_open_panel() {
    if (menu_open) return;
    menu_open = 1;
    menu_page = MENU_MAIN;
    menu_row = menu_column = menu_waiting = 0;
    dragging = -1;
    hover_row = -2;
    stick_x = stick_y = 0;
    say("");
    menu_opened_at = sys_ticks();
    fullscreen = sys_is_fullscreen(); // the switch shows the window as it is
    mouse_look_saved = mouse_look;
    set_mouse_look(0);
}

void menu_close_panel() {
    if (!menu_open) return;
    std::string now_values = settings_format("");
    if (settings_unsaved() && now_values != failed_save) {
        std::string message;
        if (!settings_save(&message)) {
            failed_save = now_values;
            say(message, 1);
            return;
        }
        if (!message.empty()) { // an unreadable file moved aside: said once
            say(message);
            return;
        }
    }
    menu_open = menu_waiting = 0;
    hold_clocks(elapsed_ms(sys_ticks(), menu_opened_at));
    set_mouse_look(mouse_look_saved);
}

void menu_handle_event(const SDL_Event &ev) {
    switch (ev.type) {
    case SDL_KEYDOWN:
        key_down(ev.key.keysym, ev.key.repeat != 0);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        mouse(ev);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        pad_down(ev.cbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        stick(ev.caxis.axis, ev.caxis.value);
        break;
    default:
        break;
    }
}

MenuLayout menu_layout(int w, int h) {
    constexpr float WIDTH = 560, ROW = 21, TOP = 50, BOTTOM = 48; // two message lines
    float s = std::fmin(w / 960.0f, h / 600.0f);
    MenuLayout l{};
    l.scale = s;
    float height = TOP + ROW * menu_row_count() + BOTTOM;
    l.x0 = (w - WIDTH * s) / 2;
    l.x1 = l.x0 + WIDTH * s;
    l.y0 = (h - height * s) / 2;
    l.y1 = l.y0 + height * s;
    l.rows_top = l.y0 + TOP * s;
    l.row_h = ROW * s;
    l.value_x = l.x0 + 290 * s;
    l.track_w = 150 * s;
    const float columns[] = {170, 300, 430, WIDTH - 10};
    for (int c = 0; c < MENU_KEY_COLUMNS + 2; c++) l.column_x[c] = l.x0 + columns[c] * s;
    l.message_y = l.rows_top + ROW * menu_row_count() * s + 8 * s;
    return l;
}
