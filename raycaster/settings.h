// The player's settings: one table row per setting (its key in the file,
// the variable it drives, its kind, range and default). The file reader,
// the writer and the options menu all walk the table, and the key and
// button bindings of bindings.h, so a new setting is a new row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Each starts at the game's behaviour without a settings file.
extern double mouse_sensitivity; // factor on the mouse's radians per pixel
extern int invert_mouse_y;
extern double pad_look_speed; // factor on the right stick's turn and tilt rates
extern int invert_pad_y;
extern double field_of_view; // vertical, degrees
extern int head_bob;
extern double brightness;     // 0..100; 0 leaves the picture as drawn
extern double render_scale;   // per cent of the window's pixels the view is drawn at
extern double music_volume;   // per cent of full volume
extern double effects_volume; // per cent of full volume
extern int fullscreen;        // the window's state at the last quit
extern int window_width, window_height;
extern int show_fps;

enum SettingKind : int {
    SETTING_SWITCH, // true / false, in `flag`
    SETTING_SLIDER, // a number from lo to hi in `number`; the menu moves it by `step`
    SETTING_CHOICE, // one of `choices` in `number`
    SETTING_PIXELS, // a whole number from lo to hi in `whole`; not in the menu
};

struct Setting {
    const char *key;
    const char *label; // in the options menu
    SettingKind kind;
    int *flag;
    double *number;
    int *whole;
    double initial, lo, hi, step;
    const double *choices;
    int choice_count;
    const char *unit; // after the value in the menu
};

extern const Setting SETTINGS[];
extern const int SETTING_COUNT;

void settings_reset();             // every setting and binding to its default
void settings_reset_preferences(); // the same but the window's size and state
double setting_value(const Setting &s);
void set_setting_value(const Setting &s, double v); // clamped to the setting's range
std::string format_setting(const Setting &s);       // as written to the file

// One line of a settings file that could not be used, and why.
struct SettingsProblem {
    int line; // 1-based; 0 for the file as a whole
    std::string reason;
    bool unknown_key; // harmless: kept as it is whenever the file is written
};

// Reads a settings file's text into the settings. Keys the game does not
// know, and values it cannot use, are reported and leave the setting at
// what it was. A file longer than SETTINGS_MAX_BYTES is not read at all,
// and none longer is written: far above what the game itself writes, so a
// file it read can always be saved again.
constexpr size_t SETTINGS_MAX_BYTES = 1024 * 1024;
std::vector<SettingsProblem> settings_parse(std::string_view text);

// The file's new text: the old one with every known key's value replaced,
// comments, blank lines and unknown keys kept as they are, and settings the
// old text lacked added at its end. Without an old text, a short comment
// header and one line per setting.
std::string settings_format(std::string_view old_text);
