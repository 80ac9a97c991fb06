// Journey figures: the file's size after a simulated 30-minute walk with
// the corner map open, and the journey map's redraw time with 500 explored
// chunks at 1920x1200. Run under xvfb-run -a -s "-screen 0 1920x1200x24";
// with LP_NUM_THREADS=0 the software renderer draws on the calling thread,
// and the CPU time is the drawing's whole cost.
#include "exe_path.h"
#include "fonts.h"
#include "journey.h"
#include "journey_map.h"
#include "journey_map_view.h"
#include "paths.h"
#include "player.h"
#include "text.h"
#include "world.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <SDL2/SDL_ttf.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

SDL_Window *win = nullptr;

namespace {

// As the corner map does each frame: 19 x 19 cells around the player.
void corner_map_frame() {
    int pcx = static_cast<int>(px), pcy = static_cast<int>(py);
    for (int row = pcy - 9; row <= pcy + 9; row++)
        for (int col = pcx - 9; col <= pcx + 9; col++)
            journey_explore(col, row, world_cell(col, row) != CELL_OPEN);
}

// 30 minutes at 60 frames a second: forward, sprinting half the time,
// turning a quarter at walls and now and then at random; a marker a minute.
void walk_thirty_minutes() {
    std::srand(7);
    player_reset();
    find_spawn();
    journey_reset(static_cast<int>(px), static_cast<int>(py));
    MoveKeys keys{};
    keys.forward = true;
    const double dt = 1.0 / 60;
    for (int frame = 0; frame < 30 * 60 * 60; frame++) {
        if (frame % 600 == 0) keys.sprint = std::rand() % 2;
        double x = px, y = py;
        player_move(keys, dt);
        journey_walk(x, y, px, py);
        journey_seconds += dt;
        if ((px == x && py == y) || std::rand() % 400 == 0)
            player_rotate(std::rand() % 2 ? M_PI / 2 : -M_PI / 2);
        corner_map_frame();
        if (frame % 3600 == 0) journey_toggle_marker(static_cast<int>(px), static_cast<int>(py));
    }
    std::string text = journey_format({px, py, pa, 0, 0});
    std::printf("30-minute walk: %.0f cells walked, %ld cells explored in %d chunks, %d markers: "
                "journey.ini %zu bytes\n",
                journey_distance, journey_explored_cells(), journey_chunk_count, marker_count,
                text.size());
}

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The process's CPU time, all threads: on a machine shared with other work
// it counts the drawing alone, where the wall clock counts the waiting too.
double cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// 500 chunks in a block, each cell seen with one chance in three, walls on
// half of those; a hundred markers.
void five_hundred_chunks() {
    journey_reset(0, 0);
    std::srand(3);
    for (int c = 0; c < 500; c++) {
        int cx = c % 23 - 11, cy = c / 23 - 11;
        for (int y = 0; y < CHUNK_SIZE; y++)
            for (int x = 0; x < CHUNK_SIZE; x++)
                if (std::rand() % 3)
                    journey_explore(cx * CHUNK_SIZE + x, cy * CHUNK_SIZE + y, std::rand() % 2);
    }
    for (int i = 0; i < MAX_MARKERS; i++) journey_toggle_marker(i * 5 - 250, i * 3 - 150);
}

void time_redraws(int w, int h, double zoom, const char *what) {
    map_open_at(0, 0, 0, 0);
    map_zoom = zoom;
    draw_journey_map(w, h); // the tiles' first upload
    text_frame_end();
    glFinish();
    std::vector<double> t, c;
    for (int i = 0; i < 60; i++) {
        double t0 = now_ms(), c0 = cpu_ms();
        draw_journey_map(w, h);
        text_frame_end();
        glFinish();
        t.push_back(now_ms() - t0);
        c.push_back(cpu_ms() - c0);
        SDL_GL_SwapWindow(win);
    }
    std::sort(t.begin(), t.end());
    std::sort(c.begin(), c.end());
    std::printf("journey map, %s, %dx%d: median %.2f ms (CPU %.2f ms), 95th percentile %.2f ms\n",
                what, w, h, t[t.size() / 2], c[c.size() / 2], t[t.size() * 95 / 100]);
}

} // namespace

int main() {
    walk_thirty_minutes();
    world_reset();
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    win = SDL_CreateWindow("Drevix Raycaster benchmark", 0, 0, 1920, 1200,
                           SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!win || !SDL_GL_CreateContext(win)) {
        std::fprintf(stderr, "bench_journey: no GL window (%s); run under xvfb-run\n",
                     SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    std::string why;
    font_small = open_small_font(base_dir_from_exe(read_exe_path(&why)).c_str());
    std::printf("GL renderer: %s\n", glGetString(GL_RENDERER));
    journey_reset(0, 0);
    time_redraws(1920, 1200, 1.0, "nothing explored");
    five_hundred_chunks();
    // All 500 chunks (575 x 550 cells) on the screen, then the starting zoom.
    time_redraws(1920, 1200, 1.0, "500 chunks all in view");
    time_redraws(1920, 1200, MAP_ZOOM_START, "500 chunks, starting zoom");
    return 0;
}
