// What each key and controller button does: one row per action, with the
// keys and button it starts with, and the bindings in force.
#pragma once

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_gamecontroller.h>
#include <string>
#include <string_view>

enum Action : int {
    ACTION_FORWARD,
    ACTION_BACK,
    ACTION_STRAFE_LEFT,
    ACTION_STRAFE_RIGHT,
    ACTION_TURN_LEFT,
    ACTION_TURN_RIGHT,
    ACTION_SPRINT,
    ACTION_FLASHLIGHT,
    ACTION_MAP,
    ACTION_CHAT,
    ACTION_DOOR,
    ACTION_FULLSCREEN,
    ACTION_MOUSE,
    ACTION_JOURNEY_MAP,
    ACTION_MARKER,
    ACTION_SCREENSHOT,
    ACTION_OPTIONS,
    ACTION_COUNT
};

struct ActionInfo {
    const char *name;  // as in the settings file: key_<name>, pad_<name>
    const char *label; // as in the options menu
    // Held actions (walking, turning, sprinting) are read every frame by
    // physical key position, so they stay where they are on any layout;
    // the others act on a key press and follow the key's symbol.
    bool held;
    const char *keys; // the keys it starts with, as SDL names them
    const char *pad;  // the controller button it starts with
};
extern const ActionInfo ACTIONS[ACTION_COUNT];

constexpr int KEYS_PER_ACTION = 2;
constexpr int NO_BUTTON = -1; // SDL_CONTROLLER_BUTTON_INVALID

// A scancode for held actions, a key symbol for the others; 0 is none.
extern int action_keys[ACTION_COUNT][KEYS_PER_ACTION];
extern int action_pad[ACTION_COUNT]; // a game-controller button, or NO_BUTTON

void bindings_reset(); // every action back to its starting keys and button

// 1 when the key event is one of the action's keys.
int key_is(Action a, const SDL_Keysym &key);
// The code a key event binds to the action: its scancode or its symbol.
int key_code_for(Action a, const SDL_Keysym &key);

// "W, Up" and back. Parsing fails (0, with *why) on an unknown name, more
// than two keys, or a key reserved for the menu; an empty text unbinds.
int parse_keys(Action a, std::string_view text, int out[KEYS_PER_ACTION], std::string *why);
std::string format_keys(Action a);
std::string key_name(Action a, int code); // "" for none
int parse_button(Action a, std::string_view text, int *out, std::string *why);
const char *button_name(int button); // "" for none

// The key and button that open the options menu whatever the bindings say,
// so nobody can lock themselves out; no other action may take them.
constexpr SDL_Keycode MENU_KEY = SDLK_o;
constexpr int MENU_BUTTON = SDL_CONTROLLER_BUTTON_START;

// Binds a key to slot `slot` (0 or 1) of an action. When another action
// (or the action's other slot) had that key, it gets the key it replaces:
// the two swap. Returns the action that gave the key up, or -1.
int bind_key(Action a, int slot, int code);
// The same for the controller button.
int bind_button(Action a, int button);
