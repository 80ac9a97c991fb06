#include "chat_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

char chat_msgs[CHAT_SLOTS][CHAT_MSG_BYTES];
uint32_t chat_msg_times[CHAT_SLOTS];
int chat_msg_total = 0;
char chat_buf[CHAT_BUF_BYTES];
int chat_buf_len = 0;
int chat_open = 0;
int chat_mouse_look_saved = 0;

static bool is_continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence starting with lead byte c, 0 if c cannot start one.
static int sequence_length(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

void chat_add_at(const char *text, uint32_t now) {
    int slot = chat_msg_total % CHAT_SLOTS;
    size_t n = std::strlen(text);
    if (n > CHAT_MSG_BYTES - 1) {
        n = CHAT_MSG_BYTES - 1;
        while (n > 0 && is_continuation(static_cast<unsigned char>(text[n]))) n--;
    }
    std::memset(chat_msgs[slot], 0, CHAT_MSG_BYTES);
    std::memcpy(chat_msgs[slot], text, n);
    chat_msg_times[slot] = now;
    chat_msg_total++;
}

void chat_type(const char *text) {
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text);
    while (*s) {
        int len = sequence_length(*s);
        int ok = len > 0;
        for (int i = 1; ok && i < len; i++) ok = is_continuation(s[i]);
        if (!ok) { // skip the malformed byte
            s++;
            continue;
        }
        if (chat_buf_len + len > CHAT_BUF_BYTES - 1) return;
        std::memcpy(chat_buf + chat_buf_len, s, len);
        chat_buf_len += len;
        s += len;
    }
}

void chat_backspace() {
    while (chat_buf_len > 0 &&
           is_continuation(static_cast<unsigned char>(chat_buf[chat_buf_len - 1])))
        chat_buf_len--;
    if (chat_buf_len > 0) chat_buf_len--;
}

int chat_submit_at(uint32_t now) {
    if (chat_buf_len < 1) return 0;
    chat_buf[chat_buf_len] = '\0';
    chat_add_at(chat_buf, now);
    chat_buf_len = 0;
    return 1;
}

int chat_first_visible() {
    return chat_msg_total >= CHAT_VISIBLE + 1 ? chat_msg_total - CHAT_VISIBLE : 0;
}

double chat_fade(uint32_t age_ms) {
    if (age_ms > CHAT_LIFETIME_MS) return -1.0;
    constexpr uint32_t fade_from = CHAT_LIFETIME_MS - CHAT_FADE_MS;
    if (age_ms > fade_from) return 1.0 - (age_ms - fade_from) / static_cast<double>(CHAT_FADE_MS);
    return 1.0;
}

int chat_is_red(const char *msg) {
    return std::strstr(msg, DARK_PRESENCE_MARK) != nullptr;
}

void build_zalgo_name(char out[ZALGO_BYTES]) {
    int pos = 0;
    for (const char *letter = "zalgo"; *letter && pos <= 121; letter++) {
        out[pos++] = *letter;
        int count = std::rand() % 4 + 1;
        for (int i = 0; i < count && pos <= 124; i++) {
            const auto &m = marks[std::rand() % 112];
            out[pos++] = m[0];
            out[pos++] = m[1];
        }
    }
    out[pos] = '\0';
}

void format_dark_presence(char *out, int size) {
    char name[ZALGO_BYTES];
    build_zalgo_name(name);
    std::snprintf(out, static_cast<size_t>(size), DARK_PRESENCE_FORMAT, name);
}

ChatLayout chat_layout(int w, int h) {
    double sx = w / 960.0, sy = h / 600.0;
    ChatLayout l{};
    l.x0 = static_cast<int>(10 * sx);
    l.y0 = static_cast<int>(4 * sy);
    l.x1 = l.x0 + static_cast<int>(300 * sx);
    l.y1 = l.y0 + static_cast<int>(22 * sy);
    l.close_x = l.x1 + 4;
    l.close_y = l.y0;
    l.close_w = static_cast<int>(16 * sx);
    l.close_h = static_cast<int>(16 * sy);
    return l;
}

int chat_in_close_box(const ChatLayout &l, int x, int y) {
    return x >= l.close_x && x <= l.close_x + l.close_w && y >= l.close_y &&
           y <= l.close_y + l.close_h;
}

void chat_reset() {
    std::memset(chat_msgs, 0, sizeof chat_msgs);
    std::memset(chat_msg_times, 0, sizeof chat_msg_times);
    chat_msg_total = 0;
    std::memset(chat_buf, 0, sizeof chat_buf);
    chat_buf_len = 0;
    chat_open = 0;
    chat_mouse_look_saved = 0;
}
