#include "status.h"

#include "maze_seed.h"

#include <cstdio>

void format_status(char (&out)[STATUS_BYTES], int cols, int rows, uint32_t ms, const char *algo,
                   const char *seed) {
    std::snprintf(out, sizeof out, "%dx%d  %dms  ALGO:%s%s%s", cols, rows, static_cast<int>(ms),
                  algo ? algo : "", seed ? "  seed " : "", seed ? seed : "");
}

void format_stats_line(char (&out)[STATUS_BYTES], const MazeStats &s) {
    // Whole percent: the tenths would crowd the key help at the largest size.
    std::snprintf(out, sizeof out, "dead ends %d  junctions %d  way %d (%.0f%%)  straight %d",
                  s.dead_ends, s.junctions, s.solution_cells, s.solution_percent,
                  s.longest_straight);
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
    SeedCode code;
    seed_code(s.seed, code);
    format_status(out, m.cols, m.rows, s.gen_ms, ALGO_NAMES[s.algo], code);
    return COLOR_STATUS;
}

int status_wait_ms(const ViewState &s, uint32_t now) {
    const int32_t left = message_left(s, now);
    return left > 0 ? static_cast<int>(left) : -1;
}
