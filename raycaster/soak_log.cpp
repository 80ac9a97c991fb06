#include "soak_log.h"
#include "chat_store.h"
#include "doors.h"
#include "player.h"
#include "text.h"
#include "textures.h"
#include "world.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

FILE *log_file = nullptr;
uint32_t started = 0, last_line = 0;
std::vector<double> frame_times;

long resident_kb() {
#ifndef __linux__ // the soak runs on Linux only
    return 0;
#else
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

} // namespace

void soak_log_open() {
    const char *path = std::getenv("DREVIX_SOAK_LOG");
    if (!path || !*path) return;
    log_file = std::fopen(path, "w");
    if (!log_file) return;
    player_noclip = 1;
    player_speed_scale = 4.0;
    started = last_line = SDL_GetTicks();
    std::fprintf(log_file, "seconds frames median_ms max_ms rss_kb chunks doors chat_total "
                           "live_textures text_textures\n");
}

void soak_log_frame(double frame_ms) {
    if (!log_file) return;
    frame_times.push_back(frame_ms);
    uint32_t now = SDL_GetTicks();
    if (now - last_line < 1000) return;
    last_line = now;
    std::sort(frame_times.begin(), frame_times.end());
    // GL names are handed out in increasing order: probe them all for the
    // ones still alive. Only the scene textures and the text kept for the
    // next frame should be.
    int live = 0;
    for (uint32_t name = 1; name <= max_texture_name; name++) live += glIsTexture(name) == GL_TRUE;
    int text = text_cache_textures();
    std::fprintf(log_file, "%u %zu %.2f %.2f %ld %d %d %d %d %d\n", (now - started) / 1000,
                 frame_times.size(), frame_times[frame_times.size() / 2], frame_times.back(),
                 resident_kb(), chunk_count, door_count, chat_msg_total, live - text, text);
    std::fflush(log_file);
    frame_times.clear();
}

void soak_log_close() {
    if (log_file) std::fclose(log_file);
    log_file = nullptr;
}
