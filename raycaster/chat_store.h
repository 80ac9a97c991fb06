// The chat's message ring and the line being typed: plain data and the rules
// for editing it, without a window.
#pragma once

#include <array>
#include <cstdint>

constexpr int CHAT_SLOTS = 32;
constexpr int CHAT_MSG_BYTES = 512;
constexpr int CHAT_BUF_BYTES = 256;
constexpr int CHAT_VISIBLE = 8;
constexpr uint32_t CHAT_LIFETIME_MS = 8000;
constexpr uint32_t CHAT_FADE_MS = 2000;
constexpr const char *DARK_PRESENCE_FORMAT = "[{%s}]: I SEE YOU";
constexpr const char *DARK_PRESENCE_MARK = "I SEE YOU"; // messages holding it are red
constexpr int ZALGO_BYTES = 128;

extern char chat_msgs[CHAT_SLOTS][CHAT_MSG_BYTES];
extern uint32_t chat_msg_times[CHAT_SLOTS];
extern int chat_msg_total;
extern char chat_buf[CHAT_BUF_BYTES];
extern int chat_buf_len;
extern int chat_open;
extern int chat_mouse_look_saved;

// The combining marks U+0300..U+036F, UTF-8 encoded, NUL-terminated.
constexpr std::array<std::array<char, 3>, 112> make_marks() {
    std::array<std::array<char, 3>, 112> m{};
    for (int i = 0; i < 112; i++) {
        int cp = 0x300 + i;
        m[i][0] = static_cast<char>(0xC0 | (cp >> 6));
        m[i][1] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return m;
}
inline constexpr auto marks = make_marks();

// Stores a message stamped `now`, overwriting the oldest once 32 exist. Longer
// text is cut at 511 bytes, never inside a character.
void chat_add_at(const char *text, uint32_t now);

// Appends typed text, whole characters only; a character that does not fit in
// the 255-byte line, or a malformed byte, is dropped.
void chat_type(const char *text);
void chat_backspace(); // removes the last whole character
// Sends a non-empty line as a message and empties the line; 1 when sent.
int chat_submit_at(uint32_t now);

// Message numbers shown, oldest first: first_visible .. chat_msg_total - 1.
int chat_first_visible();
// Opacity of a message of this age: 1, fading after 6 s, < 0 once gone.
double chat_fade(uint32_t age_ms);
int chat_is_red(const char *msg);

// "zalgo" with 1 to 4 random combining marks after each letter (C rand).
void build_zalgo_name(char out[ZALGO_BYTES]);
// The dark presence line with a fresh name, into `out` (600 bytes).
void format_dark_presence(char *out, int size);

// Input box and close box, in drawable pixels, for a W x H drawable.
struct ChatLayout {
    int x0, y0, x1, y1; // input box
    int close_x, close_y, close_w, close_h;
};
ChatLayout chat_layout(int w, int h);
// 1 when drawable point (x, y) lies in the close box, edges included.
int chat_in_close_box(const ChatLayout &l, int x, int y);

void chat_reset(); // tests only
