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

uint32_t status_line(char (&out)[STATUS_BYTES], const ViewState &s, const Maze &m, uint32_t now) {
    // Signed difference: right across the tick counter's wrap.
    if (s.message[0] && static_cast<int32_t>(s.message_until - now) > 0) {
        std::snprintf(out, sizeof out, "%s", s.message);
        return s.message_failed ? COLOR_ERROR : COLOR_STATUS;
    }
    format_status(out, m.cols, m.rows, s.gen_ms, ALGO_NAMES[s.algo]);
    return COLOR_STATUS;
}
