// Frame benchmark: render_3d + draw_overlay + swap, finished with glFinish,
// at fixed views, for the batched and the straightforward scene passes.
// Run under xvfb-run -a -s "-screen 0 1920x1200x24". Prints one line per
// size and view, then the summary lines; --flashlight-and-text measures only
// the flashlight's and the chat flood's cost, --render-scale only the view
// drawn at fewer pixels.
#include "chat_store.h"
#include "config.h"
#include "exe_path.h"
#include "fonts.h"
#include "frame_views.h"
#include "game.h"
#include "overlay.h"
#include "paths.h"
#include "scene.h"
#include "settings.h"
#include "text.h"
#include "textures.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_opengl.h>
#include <SDL2/SDL_ttf.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double frame_ms(int w, int h) {
    double t0 = now_ms();
    render_3d();
    draw_overlay(STATE_PLAY, SDL_GetTicks(), w, h); // presenting is stubbed: swap here
    SDL_GL_SwapWindow(win);
    glFinish();
    return now_ms() - t0;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

// Where a batched frame's time goes: scene, overlay, and presenting.
void breakdown(int w, int h) {
    std::vector<double> scene, overlay, present;
    for (const FrameView &v : FRAME_VIEWS) {
        place_view(v);
        for (int i = 0; i < 10; i++) {
            double t0 = now_ms();
            render_3d();
            glFinish();
            double t1 = now_ms();
            draw_overlay(STATE_PLAY, SDL_GetTicks(), w, h);
            glFinish();
            double t2 = now_ms();
            SDL_GL_SwapWindow(win);
            glFinish();
            double t3 = now_ms();
            scene.push_back(t1 - t0);
            overlay.push_back(t2 - t1);
            present.push_back(t3 - t2);
        }
    }
    std::printf("  %dx%d batched breakdown: scene_ms=%.2f overlay_ms=%.2f present_ms=%.2f\n", w, h,
                percentile(scene, 0.5), percentile(overlay, 0.5), percentile(present, 0.5));
}

void load_assets() {
    std::string why, base = base_dir_from_exe(read_exe_path(&why));
    auto load = [&](const char *format) { return load_gl_tex(asset_path(base, format).c_str()); };
    tex_wall = load(ASSET_WALL);
    tex_secret = load(ASSET_SECRET);
    tex_floor_id = load(ASSET_FLOOR);
    tex_ceil = load(ASSET_CEILING);
    tex_door_closed = load(ASSET_DOOR_CLOSED);
    tex_door_open = load(ASSET_DOOR_OPEN);
    font_small = open_small_font(base.c_str());
}

bool frames_identical() {
    std::vector<unsigned char> a(960 * 600 * 4), b(a.size());
    for (const FrameView &v : FRAME_VIEWS) {
        place_view(v);
        for (int ref = 0; ref < 2; ref++) {
            render_reference = ref;
            render_3d();
            glFinish();
            glReadPixels(0, 0, 960, 600, GL_RGBA, GL_UNSIGNED_BYTE, ref ? b.data() : a.data());
        }
        render_reference = 0;
        if (a != b) {
            std::printf("pictures differ at view '%s'\n", v.name);
            return false;
        }
    }
    return true;
}

struct Result {
    double median, p95;
};

Result measure(int w, int h, int reference, int frames_per_view, bool report) {
    render_reference = reference;
    std::vector<double> all;
    for (const FrameView &v : FRAME_VIEWS) {
        place_view(v);
        std::vector<double> t;
        for (int i = 0; i < 3; i++) frame_ms(w, h); // warm up
        for (int i = 0; i < frames_per_view; i++) t.push_back(frame_ms(w, h));
        if (report)
            std::printf("  %dx%d %-9s %-22s median_ms=%.2f p95_ms=%.2f\n", w, h,
                        reference ? "reference" : "batched", v.name, percentile(t, 0.5),
                        percentile(t, 0.95));
        all.insert(all.end(), t.begin(), t.end());
    }
    render_reference = 0;
    return {percentile(all, 0.5), percentile(all, 0.95)};
}

// Sprinting east through chunks never seen before: 3.2 cells a second at
// 60 frames a second, ignoring walls.
void sprint_through_fresh_chunks() {
    world_reset();
    std::vector<double> t;
    place_view(FRAME_VIEWS[0]);
    px = 100000.5;
    py = 100012.5;
    for (int i = 0; i < 600; i++) {
        px += 3.2 / 60;
        t.push_back(frame_ms(960, 600));
    }
    std::printf("sprint through fresh chunks 960x600: median_ms=%.2f p99_ms=%.2f ratio=%.2f "
                "chunks=%d\n",
                percentile(t, 0.5), percentile(t, 0.99), percentile(t, 0.99) / percentile(t, 0.5),
                chunk_count);
}

// The straightforward path as it ran before the allocator setting, in a
// child process of this run (the setting cannot be undone in this one).
void untuned_reference(double (&median)[2]) {
    std::string why, self = read_exe_path(&why);
    if (self.empty()) return;
    std::string cmd = "'" + self + "' --untuned-reference";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return;
    if (std::fscanf(p, "%lf %lf", &median[0], &median[1]) != 2) median[0] = median[1] = 0;
    pclose(p);
}

const FrameView &view_named(const char *name) {
    for (const FrameView &v : FRAME_VIEWS)
        if (std::string(v.name) == name) return v;
    std::abort();
}

double cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Median frame times of several setups measured in turns, a few frames
// each, so that a busy machine slows them all alike: wall time, and the
// processor time of all the process's threads, which other programs on the
// machine disturb less. Each setup prepares its frames; `step`, when given,
// runs before each of its frames.
struct Setup {
    void (*prepare)();
    void (*step)();
};
template <size_t N> struct Times { std::array<double, N> wall, cpu; };
template <size_t N> Times<N> in_turns(int w, int h, const Setup (&setups)[N]) {
    std::array<std::vector<double>, N> t, c;
    for (int turn = 0; turn < 12; turn++)
        for (size_t k = 0; k < N; k++) {
            setups[k].prepare();
            for (int i = 0; i < 7; i++) {
                if (setups[k].step) setups[k].step();
                double cpu = cpu_ms(), ms = frame_ms(w, h);
                cpu = cpu_ms() - cpu;
                if (i >= 2) t[k].push_back(ms), c[k].push_back(cpu); // after the first frames
            }
        }
    Times<N> out;
    for (size_t k = 0; k < N; k++) {
        out.wall[k] = percentile(t[k], 0.5);
        out.cpu[k] = percentile(c[k], 0.5);
    }
    return out;
}

// A wall 2.5 cells ahead, in a lit and in a dark cell: the same frame with
// the flashlight off and on.
const char *beam_cell;
void beam_view(bool on) {
    std::string name = std::string("wall ahead, ") + beam_cell + (on ? ", on" : ", off");
    place_view(view_named(name.c_str()));
}

void beam_cost(int w, int h) {
    for (const char *cell : {"lit", "dark"}) {
        beam_cell = cell;
        auto ms = in_turns(
            w, h,
            {Setup{[] { beam_view(false); }, nullptr}, Setup{[] { beam_view(true); }, nullptr}});
        std::printf("beam %dx%d %-4s cell: off_ms=%.2f on_ms=%.2f ratio=%.2f cpu: off_ms=%.2f "
                    "on_ms=%.2f ratio=%.2f\n",
                    w, h, cell, ms.wall[0], ms.wall[1], ms.wall[1] / ms.wall[0], ms.cpu[0],
                    ms.cpu[1], ms.cpu[1] / ms.cpu[0]);
    }
}

// Eight presence lines on screen, a new one on 60 % of frames as when the
// player stands in the dark, against the same frame with no chat lines;
// and the flood again with every string rendered anew, as before text was
// kept from frame to frame.
void new_presence_line() {
    if (std::rand() % 100 < DARK_PRESENCE_CHANCE) {
        char line[600];
        format_dark_presence(line, sizeof line);
        chat_add_at(line, SDL_GetTicks());
    }
}

void flood(int cached) {
    chat_reset();
    text_cache_reset(cached);
    for (int i = 0; i < CHAT_VISIBLE; i++) {
        char line[600];
        format_dark_presence(line, sizeof line);
        chat_add_at(line, SDL_GetTicks());
    }
}

void flood_cost(int w, int h) {
    place_view(view_named("long corridor"));
    auto ms = in_turns(w, h,
                       {Setup{[] { chat_reset(), text_cache_reset(1); }, nullptr},
                        Setup{[] { flood(1); }, new_presence_line},
                        Setup{[] { flood(0); }, new_presence_line}});
    text_cache_reset(1);
    chat_reset();
    for (auto [kind, t] : {std::pair{"", ms.wall}, {"cpu ", ms.cpu}})
        std::printf("flood %dx%d %s: no_chat_ms=%.2f flood_ms=%.2f ratio=%.2f uncached_ms=%.2f "
                    "uncached_ratio=%.2f\n",
                    w, h, kind[0] ? "cpu " : "wall", t[0], t[1], t[1] / t[0], t[2], t[2] / t[0]);
}

// The whole frame with the view drawn at 100, 50 and 33 % of the window's
// pixels, in turns, over a near and a far view.
void render_scale_cost(int w, int h) {
    for (const char *view : {"long corridor", "wall ahead, lit, off"}) {
        beam_cell = view; // the view each setup places
        auto ms = in_turns(
            w, h,
            {Setup{[] { place_view(view_named(beam_cell)), render_scale = 100; }, nullptr},
             Setup{[] { place_view(view_named(beam_cell)), render_scale = 50; }, nullptr},
             Setup{[] { place_view(view_named(beam_cell)), render_scale = 33; }, nullptr}});
        render_scale = 100;
        std::printf("render scale %dx%d %-22s: 100%%_ms=%.2f 50%%_ms=%.2f ratio=%.2f 33%%_ms=%.2f "
                    "ratio=%.2f cpu ratios %.2f %.2f\n",
                    w, h, view, ms.wall[0], ms.wall[1], ms.wall[1] / ms.wall[0], ms.wall[2],
                    ms.wall[2] / ms.wall[0], ms.cpu[1] / ms.cpu[0], ms.cpu[2] / ms.cpu[0]);
    }
}

// The frames bench_frame_ir.sh counts: callgrind collects in here only.
__attribute__((noinline)) void counted_frames(int n, bool flood) {
    for (int i = 0; i < n; i++) {
        if (flood) new_presence_line();
        frame_ms(960, 600);
    }
}

bool open_window() {
    SDL_Init(SDL_INIT_VIDEO);
    IMG_Init(IMG_INIT_PNG);
    TTF_Init();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    win = SDL_CreateWindow("Drevix Raycaster benchmark", 0, 0, 960, 600,
                           SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!win || !SDL_GL_CreateContext(win)) {
        std::fprintf(stderr, "bench_frame: no GL window (%s); run under xvfb-run\n",
                     SDL_GetError());
        return false;
    }
    SDL_GL_SetSwapInterval(0);
    load_assets();
    return true;
}

void set_size(int w, int h) {
    SDL_SetWindowSize(win, w, h);
    for (int i = 0; i < 20; i++) {
        SDL_PumpEvents();
        SDL_GL_SwapWindow(win);
    }
}

} // namespace

int main(int argc, char **argv) {
    bool untuned = argc > 1 && std::string(argv[1]) == "--untuned-reference";
    if (!untuned) keep_heap_between_frames();
    if (!open_window()) return 1;
    if (untuned) {
        for (int size = 0; size < 2; size++) {
            set_size(960 * (size + 1), 600 * (size + 1));
            std::printf("%.2f ", measure(960 * (size + 1), 600 * (size + 1), 1, 8, false).median);
        }
        return 0;
    }
    std::printf("GL renderer: %s\n", glGetString(GL_RENDERER));
    if (argc > 3 && std::string(argv[1]) == "--frames") {
        // For counting instructions under valgrind: N frames of one view,
        // with the presence flood (--flood, or --flood-uncached), with the
        // corner map (--map), or plain.
        place_view(view_named(argv[2]));
        std::string flood_kind = argc > 4 ? argv[4] : "";
        show_map = flood_kind == "--map";
        if (show_map) flood_kind.clear();
        std::srand(1);
        if (!flood_kind.empty()) flood(flood_kind == "--flood");
        if (!flood_kind.empty()) new_presence_line();
        frame_ms(960, 600); // compiles GL's shaders for these frames
        counted_frames(std::atoi(argv[3]), !flood_kind.empty());
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--render-scale") {
        set_size(1920, 1200);
        render_scale_cost(1920, 1200);
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--flashlight-and-text") {
        for (auto [w, h] : {std::pair{960, 600}, {1920, 1200}}) {
            set_size(w, h);
            beam_cost(w, h);
            flood_cost(w, h);
        }
        return 0;
    }
    chat_add_at("benchmark message", SDL_GetTicks());

    bool identical = frames_identical();
    struct Size {
        int w, h;
        Result fast, reference;
    } sizes[] = {{960, 600, {}, {}}, {1920, 1200, {}, {}}};
    for (Size &s : sizes) {
        set_size(s.w, s.h);
        breakdown(s.w, s.h);
        s.fast = measure(s.w, s.h, 0, 30, true);
        s.reference = measure(s.w, s.h, 1, 8, true);
    }
    for (const Size &s : sizes) {
        set_size(s.w, s.h);
        beam_cost(s.w, s.h);
        flood_cost(s.w, s.h);
    }
    set_size(1920, 1200);
    render_scale_cost(1920, 1200);
    set_size(960, 600);
    sprint_through_fresh_chunks();
    double before[2] = {0, 0};
    untuned_reference(before);
    // The summary for 960x600 comes last.
    for (int i = 1; i >= 0; i--) {
        const Size &s = sizes[i];
        std::printf("untuned %dx%d: reference_ms=%.2f speedup=%.2f\n", s.w, s.h, before[i],
                    before[i] / s.fast.median);
        std::printf("frame %dx%d: median_ms=%.2f reference_ms=%.2f speedup=%.2f identical=%s "
                    "p95_ms=%.2f reference_p95_ms=%.2f\n",
                    s.w, s.h, s.fast.median, s.reference.median, s.reference.median / s.fast.median,
                    identical ? "yes" : "no", s.fast.p95, s.reference.p95);
    }
    return identical ? 0 : 2;
}
