#include "status.h"

#include <cstdio>

void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo) {
    std::snprintf(out, sizeof out, "%dx%d  %dms  ALGO:%s", cols, rows, static_cast<int>(ms),
                  algo ? algo : "");
}

void show_message(ViewState &s, const char *text, uint32_t now, bool failed) {
    std::snprintf(s.message, sizeof s.message, "%s", text ? text : "");
    s.message_until = now + MESSAGE_MS;
    s.message_failed = failed;
}

// Signed differences: right across the tick counter's wrap.
static int32_t message_left(const ViewState &s, uint32_t now) {
    return s.message[0] ? static_cast<int32_t>(s.message_until - now) : 0;
}

uint32_t status_line(char (&out)[STATUS_BYTES], const ViewState &s, const Maze &m, uint32_t now) {
    if (message_left(s, now) > 0) {
        std::snprintf(out, sizeof out, "%s", s.message);
        return s.message_failed ? COLOR_ERROR : COLOR_STATUS;
    }
    format_status(out, m.cols, m.rows, s.gen_ms, ALGO_NAMES[s.algo]);
    return COLOR_STATUS;
}

int status_wait_ms(const ViewState &s, uint32_t now) {
    const int32_t left = message_left(s, now);
    return left > 0 ? static_cast<int>(left) : -1;
}
