#include "bindings.h"

#include <SDL2/SDL_keyboard.h>
#include <algorithm>

// Every key and button here is what the game answered to before bindings
// could be changed; a player with no settings file gets exactly that.
const ActionInfo ACTIONS[ACTION_COUNT] = {
    {"forward", "Forward", true, "W, Up", "dpup"},
    {"back", "Back", true, "S, Down", "dpdown"},
    {"strafe_left", "Strafe left", true, "A", ""},
    {"strafe_right", "Strafe right", true, "D", ""},
    {"turn_left", "Turn left", true, "Left", "dpleft"},
    {"turn_right", "Turn right", true, "Right", "dpright"},
    {"sprint", "Sprint", true, "Left Shift, Right Shift", "leftstick"},
    {"flashlight", "Flashlight", false, "Q", "x"},
    {"map", "Map", false, "M", "y"},
    {"chat", "Chat", false, "T", "rightshoulder"},
    {"door", "Door (or click)", false, "", "a"},
    {"fullscreen", "Full screen", false, "F, F11", "back"},
    {"mouse", "Mouse look", false, "Tab", ""},
    {"options", "Options", false, "O", "start"},
};

int action_keys[ACTION_COUNT][KEYS_PER_ACTION];
int action_pad[ACTION_COUNT];

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int code_from_name(Action a, const std::string &name) {
    if (ACTIONS[a].held) return SDL_GetScancodeFromName(name.c_str());
    return SDL_GetKeyFromName(name.c_str());
}

// Esc always closes what is open, and the menu's own key is kept for it.
bool key_reserved(Action a, int code) {
    if (ACTIONS[a].held) return code == SDL_SCANCODE_ESCAPE || code == SDL_SCANCODE_O;
    return code == SDLK_ESCAPE || (code == MENU_KEY && a != ACTION_OPTIONS);
}

// A key as the other kind of action sees it; 0 when the layout has no match.
int convert(int code, Action from, Action to) {
    if (!code || ACTIONS[from].held == ACTIONS[to].held) return code;
    if (ACTIONS[from].held) return SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(code));
    return SDL_GetScancodeFromKey(code);
}

// The next key name of a list and what follows it. A name in double quotes
// (a quote in it doubled) is as written; that is how the writer puts a name
// holding the separator. Without quotes, as older files have them, a name
// ends at the first comma after which the list goes on sensibly: "W, Up",
// ",", "Keypad ," and "W, ," all read as SDL names them.
std::string next_key_name(Action a, std::string_view *text) {
    std::string_view t = trim(*text);
    if (!t.empty() && t.front() == '"') {
        std::string name;
        for (size_t i = 1; i < t.size(); i++) {
            if (t[i] != '"') {
                name += t[i];
            } else if (i + 1 < t.size() && t[i + 1] == '"') {
                name += t[++i];
            } else {
                std::string_view rest = trim(t.substr(i + 1));
                if (rest.empty() || rest.front() == ',') {
                    *text = rest.empty() ? rest : rest.substr(1);
                    return name;
                }
                break;
            }
        }
    }
    for (size_t end = t.find(','); end != std::string_view::npos; end = t.find(',', end + 1))
        for (size_t stop : {end, end + 1}) {
            std::string name(trim(t.substr(0, stop)));
            std::string_view rest = trim(t.substr(stop));
            if (!name.empty() && code_from_name(a, name) && (rest.empty() || rest.front() == ',')) {
                *text = rest.empty() ? rest : rest.substr(1);
                return name;
            }
        }
    size_t comma = t.find(',');
    *text = comma == std::string_view::npos ? std::string_view{} : t.substr(comma + 1);
    return std::string(trim(t.substr(0, comma)));
}

// A name as a list holds it: quoted when it holds the separator or a quote,
// or could be taken for a quoted one.
std::string quoted_key_name(const std::string &name) {
    if (name.find_first_of(",\"") == std::string::npos) return name;
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

void bindings_reset() {
    for (int a = 0; a < ACTION_COUNT; a++) {
        auto action = static_cast<Action>(a);
        std::string why;
        parse_keys(action, ACTIONS[a].keys, action_keys[a], &why);
        parse_button(action, ACTIONS[a].pad, &action_pad[a], &why);
    }
}

int key_code_for(Action a, const SDL_Keysym &key) {
    return ACTIONS[a].held ? static_cast<int>(key.scancode) : static_cast<int>(key.sym);
}

int key_is(Action a, const SDL_Keysym &key) {
    int code = key_code_for(a, key);
    return code != 0 && (action_keys[a][0] == code || action_keys[a][1] == code);
}

int parse_keys(Action a, std::string_view text, int out[KEYS_PER_ACTION], std::string *why) {
    int codes[KEYS_PER_ACTION] = {};
    int n = 0;
    text = trim(text);
    while (!text.empty()) {
        std::string name = next_key_name(a, &text);
        if (n == KEYS_PER_ACTION) {
            *why = "more than two keys";
            return 0;
        }
        int code = name.empty() ? 0 : code_from_name(a, name);
        if (code == 0) {
            *why = "unknown key \"" + name + "\"";
            return 0;
        }
        if (key_reserved(a, code)) {
            *why = name + (code == MENU_KEY || code == SDL_SCANCODE_O ? " always opens Options"
                                                                      : " always closes menus");
            return 0;
        }
        codes[n++] = code;
    }
    std::copy(codes, codes + KEYS_PER_ACTION, out);
    return 1;
}

std::string key_name(Action a, int code) {
    if (code == 0) return "";
    if (ACTIONS[a].held) return SDL_GetScancodeName(static_cast<SDL_Scancode>(code));
    return SDL_GetKeyName(code);
}

std::string format_keys(Action a) {
    std::string out;
    for (int code : action_keys[a]) {
        if (!code) continue;
        if (!out.empty()) out += ", ";
        out += quoted_key_name(key_name(a, code));
    }
    return out;
}

int parse_button(Action a, std::string_view text, int *out, std::string *why) {
    std::string name(trim(text));
    if (name.empty()) {
        *out = NO_BUTTON;
        return 1;
    }
    int button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) {
        *why = "unknown controller button \"" + name + "\"";
        return 0;
    }
    if (button == MENU_BUTTON && a != ACTION_OPTIONS) {
        *why = "start always opens Options";
        return 0;
    }
    *out = button;
    return 1;
}

const char *button_name(int button) {
    if (button == NO_BUTTON) return "";
    const char *name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    return name ? name : "";
}

int bind_key(Action a, int slot, int code) {
    int old = action_keys[a][slot];
    if (code == old) return -1;
    action_keys[a][slot] = code;
    int &mine = action_keys[a][1 - slot];
    if (mine == code) { // moved between the action's own two keys
        mine = old;
        return -1;
    }
    for (int b = 0; b < ACTION_COUNT; b++) {
        auto other = static_cast<Action>(b);
        if (other == a) continue;
        int theirs = convert(code, a, other);
        for (int &k : action_keys[b])
            if (theirs && k == theirs) {
                int given = convert(old, a, other);
                k = key_reserved(other, given) ? 0 : given;
                return b;
            }
    }
    return -1;
}

int bind_button(Action a, int button) {
    int old = action_pad[a];
    if (button == old) return -1;
    action_pad[a] = button;
    for (int b = 0; b < ACTION_COUNT; b++)
        if (b != a && button != NO_BUTTON && action_pad[b] == button) {
            action_pad[b] = old == MENU_BUTTON && b != ACTION_OPTIONS ? NO_BUTTON : old;
            return b;
        }
    return -1;
}
