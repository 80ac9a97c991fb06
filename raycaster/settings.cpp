#include "settings.h"
#include "bindings.h"
#include "player_file.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

double mouse_sensitivity, pad_look_speed, field_of_view, brightness, render_scale;
double music_volume, effects_volume;
int invert_mouse_y, invert_pad_y, head_bob, fullscreen, window_width, window_height, show_fps;

namespace {

constexpr double SCALES[] = {100, 75, 50, 33};

} // namespace

// In the order the menu shows them; the window's size last, as it is not shown.
const Setting SETTINGS[] = {
    {"mouse_sensitivity", "Mouse sensitivity", SETTING_SLIDER, nullptr, &mouse_sensitivity, nullptr,
     1, 0.25, 4, 0.25, nullptr, 0, "\u00d7"},
    {"invert_mouse_y", "Invert mouse Y", SETTING_SWITCH, &invert_mouse_y, nullptr, nullptr, 0, 0, 1,
     1, nullptr, 0, ""},
    {"pad_look_speed", "Controller look speed", SETTING_SLIDER, nullptr, &pad_look_speed, nullptr,
     1, 0.25, 4, 0.25, nullptr, 0, "\u00d7"},
    {"invert_pad_y", "Invert controller Y", SETTING_SWITCH, &invert_pad_y, nullptr, nullptr, 0, 0,
     1, 1, nullptr, 0, ""},
    {"field_of_view", "Field of view", SETTING_SLIDER, nullptr, &field_of_view, nullptr, 60, 50, 90,
     5, nullptr, 0, "\u00b0"},
    {"head_bob", "Head bob", SETTING_SWITCH, &head_bob, nullptr, nullptr, 1, 0, 1, 1, nullptr, 0,
     ""},
    {"brightness", "Brightness", SETTING_SLIDER, nullptr, &brightness, nullptr, 0, 0, 100, 5,
     nullptr, 0, ""},
    {"render_scale", "Render scale", SETTING_CHOICE, nullptr, &render_scale, nullptr, 100, 33, 100,
     0, SCALES, static_cast<int>(std::size(SCALES)), "%"},
    {"music_volume", "Music volume", SETTING_SLIDER, nullptr, &music_volume, nullptr, 100, 0, 100,
     5, nullptr, 0, "%"},
    {"effects_volume", "Effects volume", SETTING_SLIDER, nullptr, &effects_volume, nullptr, 100, 0,
     100, 5, nullptr, 0, "%"},
    {"fullscreen", "Full screen", SETTING_SWITCH, &fullscreen, nullptr, nullptr, 0, 0, 1, 1,
     nullptr, 0, ""},
    {"show_fps", "Frames per second", SETTING_SWITCH, &show_fps, nullptr, nullptr, 0, 0, 1, 1,
     nullptr, 0, ""},
    {"window_width", nullptr, SETTING_PIXELS, nullptr, nullptr, &window_width, 960, 320, 16384, 1,
     nullptr, 0, ""},
    {"window_height", nullptr, SETTING_PIXELS, nullptr, nullptr, &window_height, 600, 200, 16384, 1,
     nullptr, 0, ""},
};
const int SETTING_COUNT = static_cast<int>(std::size(SETTINGS));

double setting_value(const Setting &s) {
    switch (s.kind) {
    case SETTING_SWITCH:
        return *s.flag;
    case SETTING_PIXELS:
        return *s.whole;
    default:
        return *s.number;
    }
}

void set_setting_value(const Setting &s, double v) {
    v = std::fmin(std::fmax(v, s.lo), s.hi);
    switch (s.kind) {
    case SETTING_SWITCH:
        *s.flag = v != 0;
        break;
    case SETTING_PIXELS:
        *s.whole = static_cast<int>(std::lround(v));
        break;
    default:
        *s.number = v;
        break;
    }
}

// The window's size and state are where the player left the window, not a
// preference; only a fresh start resets them.
static void reset(bool window_too) {
    for (const Setting &s : SETTINGS)
        if (window_too || (s.kind != SETTING_PIXELS && s.flag != &fullscreen))
            set_setting_value(s, s.initial);
    bindings_reset();
}

void settings_reset_preferences() {
    reset(false);
}

void settings_reset() {
    reset(true);
}

// The game plays with the defaults before any file is read, and wherever
// none is (the tests).
[[maybe_unused]] static const bool defaults_in_place = (settings_reset(), true);

namespace {

bool same_word(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string number_text(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string range_text(const Setting &s) {
    if (s.kind == SETTING_CHOICE) {
        std::string out = "one of ";
        for (int i = 0; i < s.choice_count; i++) out += (i ? ", " : "") + number_text(s.choices[i]);
        return out;
    }
    return number_text(s.lo) + " to " + number_text(s.hi);
}

// The value's text for one setting; empty *why when it was taken.
void parse_value(const Setting &s, std::string_view text, std::string *why) {
    std::string t(text);
    if (s.kind == SETTING_SWITCH) {
        if (same_word(t, "true") || same_word(t, "on") || same_word(t, "yes") || t == "1")
            *s.flag = 1;
        else if (same_word(t, "false") || same_word(t, "off") || same_word(t, "no") || t == "0")
            *s.flag = 0;
        else
            *why = "\"" + t + "\" is not true or false";
        return;
    }
    char *end = nullptr;
    double v = t.empty() ? NAN : std::strtod(t.c_str(), &end);
    if (!std::isfinite(v) || *end != '\0') {
        *why = "\"" + t + "\" is not a number";
        return;
    }
    bool ok = v >= s.lo && v <= s.hi;
    if (s.kind == SETTING_CHOICE) {
        ok = false;
        for (int i = 0; i < s.choice_count; i++) ok = ok || v == s.choices[i];
    }
    if (s.kind == SETTING_PIXELS && v != std::floor(v)) {
        *why = t + " is not a whole number";
        return;
    }
    if (!ok) {
        *why = t + " is not " + range_text(s);
        return;
    }
    set_setting_value(s, v);
}

// What a line names: a setting (index), an action's keys or button, or nothing.
struct Target {
    const Setting *setting = nullptr;
    int keys = -1, pad = -1; // action
};

Target find_key(std::string_view key) {
    Target t;
    for (const Setting &s : SETTINGS)
        if (key == s.key) t.setting = &s;
    for (int a = 0; a < ACTION_COUNT; a++) {
        std::string_view name = ACTIONS[a].name;
        if (key.size() == 4 + name.size() && key.substr(4) == name) {
            if (key.substr(0, 4) == "key_") t.keys = a;
            if (key.substr(0, 4) == "pad_") t.pad = a;
        }
    }
    return t;
}

bool known(const Target &t) {
    return t.setting || t.keys >= 0 || t.pad >= 0;
}

std::string line_for(const Target &t) {
    if (t.setting) return std::string(t.setting->key) + " = " + format_setting(*t.setting);
    if (t.keys >= 0)
        return "key_" + std::string(ACTIONS[t.keys].name) + " = " +
               format_keys(static_cast<Action>(t.keys));
    return "pad_" + std::string(ACTIONS[t.pad].name) + " = " + button_name(action_pad[t.pad]);
}

} // namespace

std::string format_setting(const Setting &s) {
    if (s.kind == SETTING_SWITCH) return *s.flag ? "true" : "false";
    // A window the player shrank below the smallest size the reader takes
    // is kept at that size, not as a line the next start refuses.
    return number_text(std::fmin(std::fmax(setting_value(s), s.lo), s.hi));
}

std::vector<SettingsProblem> settings_parse(std::string_view text) {
    std::vector<SettingsProblem> problems;
    for (const PlayerFileLine &l : player_file_lines(text)) {
        if (!l.problem.empty()) {
            problems.push_back({l.number, l.problem, false});
            continue;
        }
        Target t = find_key(l.key);
        std::string why;
        if (t.setting)
            parse_value(*t.setting, l.value, &why);
        else if (t.keys >= 0)
            parse_keys(static_cast<Action>(t.keys), l.value, action_keys[t.keys], &why);
        else if (t.pad >= 0)
            parse_button(static_cast<Action>(t.pad), l.value, &action_pad[t.pad], &why);
        else
            why = "unknown key, kept as it is";
        if (!why.empty())
            problems.push_back({l.number, std::string(l.key) + ": " + why, !known(t)});
    }
    return problems;
}

std::string settings_format(std::string_view old_text) {
    std::string out;
    bool written[SETTING_COUNT + 2 * ACTION_COUNT] = {};
    auto index = [](const Target &t) {
        return t.setting     ? static_cast<int>(t.setting - SETTINGS)
               : t.keys >= 0 ? SETTING_COUNT + t.keys
                             : SETTING_COUNT + ACTION_COUNT + t.pad;
    };
    if (old_text.empty())
        out = "# Drevix Raycaster settings, written by the game when you change them in\n"
              "# Options (O key or the controller's Start button). One \"key = value\" a line;\n"
              "# lines starting with # are comments. Delete the file to go back to the defaults.\n";
    // A line the reader refused stays as the player wrote it; the setting it
    // meant is added at the end.
    std::vector<PlayerFileLine> lines = player_file_lines(old_text);
    size_t next = 0;
    int number = 0;
    while (!old_text.empty()) {
        size_t end = old_text.find('\n');
        std::string_view line = old_text.substr(0, end);
        old_text = end == std::string_view::npos ? std::string_view{} : old_text.substr(end + 1);
        Target t;
        if (next < lines.size() && lines[next].number == ++number)
            if (const PlayerFileLine &l = lines[next++]; l.problem.empty()) t = find_key(l.key);
        if (known(t)) {
            out += line_for(t);
            written[index(t)] = true;
        } else {
            out += line;
        }
        out += '\n';
    }
    for (const Setting &s : SETTINGS) {
        Target t;
        t.setting = &s;
        if (!written[index(t)]) out += line_for(t) + '\n';
    }
    for (int a = 0; a < ACTION_COUNT; a++) {
        Target k, p;
        k.keys = p.pad = a;
        if (!written[index(k)]) out += line_for(k) + '\n';
        if (!written[index(p)]) out += line_for(p) + '\n';
    }
    return out;
}
