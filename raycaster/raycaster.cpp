// The game: start-up, the main loop and shutdown.
#include "asset_file.h"
#include "chat_store.h"
#include "clock.h"
#include "config.h"
#include "embedded.h"
#include "exe_path.h"
#include "flashlight.h"
#include "fonts.h"
#include "game.h"
#include "gl_load.h"
#include "journey_map.h"
#include "menu.h"
#include "overlay.h"
#include "paths.h"
#include "player.h"
#include "scene.h"
#include "screenshot.h"
#include "settings.h"
#include "settings_file.h"
#include "soak_log.h"
#include "sys.h"
#include "text.h"
#include "textures.h"
#include "user_dirs.h"
#include "x11_errors.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_mixer.h>
#include <SDL2/SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern Mix_Chunk *snd_step;

namespace {

std::string base_dir = ".";

// Each asset's file under the base folder comes first; where it does not
// load, the copy built into the program (only the Windows build has them).
// `load` is one of the libraries' stream loaders (IMG_Load_RW, ...).
template <typename T> T *load_asset(const char *format, T *(*load)(SDL_RWops *, int)) {
    std::string path = asset_path(base_dir, format);
    if (SDL_RWops *file = open_optional_asset_file(path.c_str()))
        if (T *loaded = load(file, 1)) return loaded;
    SDL_RWops *copy = embedded_asset(format);
    return copy ? load(copy, 1) : nullptr;
}

uint32_t load_texture(const char *format) {
    std::string path = asset_path(base_dir, format);
    SDL_RWops *copy = embedded_asset(format);
    if (!copy) return load_gl_tex(path.c_str());
    SDL_RWops *file = open_optional_asset_file(path.c_str());
    if (!file) return load_gl_tex_rw(copy, path.c_str());
    SDL_RWclose(copy);
    return load_gl_tex_rw(file, path.c_str());
}

void find_base_dir() {
    std::string why, exe = read_exe_path(&why);
    if (exe.empty())
        std::fprintf(stderr,
                     "Drevix Raycaster: cannot tell where the program lies (%s); looking for "
                     "its assets in the current folder\n",
                     why.c_str());
    base_dir = ASSETS_BESIDE_PROGRAM ? program_dir_from_exe(exe, EXE_PATH_SEPARATOR)
                                     : base_dir_from_exe(exe, EXE_PATH_SEPARATOR);
}

// Without a display SDL falls back to a driver that shows nothing; unless
// that driver was asked for, the player would never see the game.
bool invisible_video() {
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    return driver && (asked == nullptr || *asked == '\0') &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// A player who started the game from a menu has no terminal: the message
// also goes in a box, with `before`, lines already on stderr that tell more.
// The window, black so far, goes first.
void startup_failed(const std::string &what, const std::string &before = {}) {
    std::string line = "Drevix Raycaster: " + what;
    std::fprintf(stderr, "%s\n", line.c_str());
    if (win) SDL_HideWindow(win);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Drevix Raycaster", (before + line).c_str(),
                             nullptr);
}

// A window remembered from a bigger screen would open past its edges, and
// its frame adds to it: it is cut to the display's usable area less the
// borders, which the window manager tells only once the window is shown.
void fit_window_to_display(SDL_Window *window) {
    SDL_Rect usable{};
    int display = window ? std::max(0, SDL_GetWindowDisplayIndex(window)) : 0;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    constexpr int FRAME_AT_MOST = 64; // a smaller window cannot reach the edges
    if (window &&
        (window_width > usable.w - FRAME_AT_MOST || window_height > usable.h - FRAME_AT_MOST)) {
        for (int i = 0; i < 25 && top + left + bottom + right == 0; i++) {
            SDL_PumpEvents();
            SDL_Delay(i ? 10 : 0);
            if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) break;
        }
    }
    int w = std::min(window_width, usable.w - left - right);
    int h = std::min(window_height, usable.h - top - bottom);
    if (w == window_width && h == window_height) return;
    window_width = w;
    window_height = h;
    if (!window) return;
    SDL_SetWindowSize(window, w, h);
    SDL_SetWindowPosition(window, usable.x + left + (usable.w - left - right - w) / 2,
                          usable.y + top + (usable.h - top - bottom - h) / 2);
}

// The window's state at quit is kept for the next start; its size only
// while windowed (full screen covers the whole display).
void remember_window() {
    fullscreen = (SDL_GetWindowFlags(win) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (!fullscreen && !(SDL_GetWindowFlags(win) & SDL_WINDOW_MAXIMIZED))
        SDL_GetWindowSize(win, &window_width, &window_height);
}

// Without vertical sync the loop would spin a core; wait out the rest of a
// display refresh instead.
uint32_t frame_budget_ms(bool vsync) {
    if (vsync) return 0;
    SDL_DisplayMode mode{};
    int hz =
        SDL_GetWindowDisplayMode(win, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    return 1000 / hz;
}

// The picture kept of the frame just shown, written where the player keeps
// pictures; the notice says where, or why not.
void write_screenshot() {
    std::vector<unsigned char> rgb;
    int w = 0, h = 0;
    if (!sys_take_frame(&rgb, &w, &h)) return;
    std::string pictures = pictures_dir();
    if (pictures.empty()) return say_notice("NOT SAVED: no pictures folder", 1);
    std::string folder = pictures + FOLDER_SEPARATOR + "Drevix Raycaster", name, why;
    if (save_screenshot(rgb, w, h, folder, &name, &why)) {
        say_notice("SAVED " + name + " in " + shown_folder(folder), 0);
    } else {
        std::fprintf(stderr, "Drevix Raycaster: screenshot not saved: %s: %s\n", folder.c_str(),
                     why.c_str());
        say_notice("NOT SAVED: " + shown_folder(folder) + ": " + why, 1);
    }
}

void run_loop(uint32_t budget_ms) {
    uint32_t now = SDL_GetTicks(), prev = now;
    bool hidden = false;
    game_reset(SDL_GetTicks());
    for (;;) {
        uint64_t frame_start = SDL_GetPerformanceCounter();
        prev = now;
        now = SDL_GetTicks();
        quit_requested = false;
        SDL_Event ev;
        if (SDL_GetWindowFlags(win) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) {
            // Nothing to see: wait for events instead of drawing; the music
            // plays on, and the world stands still until the window is back.
            if (!hidden) window_hidden(); // a player who never comes back keeps the walk
            hidden = true;
            if (SDL_WaitEventTimeout(&ev, HIDDEN_WAIT_MS)) handle_event(ev);
            while (SDL_PollEvent(&ev)) handle_event(ev);
            if (quit_requested) break;
            now = SDL_GetTicks(); // the first frame back moves as far as any other
            if (!menu_open && !map_open) hold_clocks(now - prev); // those pages hold them
            continue;
        }
        hidden = false;
        while (SDL_PollEvent(&ev)) handle_event(ev);

        count_frame(now);
        if (game_state == STATE_TITLE) {
            draw_title_screen(now);
        } else if (map_open) { // paused too, the map over the whole window
            int w = 0, h = 0;
            SDL_GL_GetDrawableSize(win, &w, &h);
            map_update(frame_dt(now, prev));
            // A map at rest, its notice gone: the frame shown stays right,
            // and the loop waits for the player instead of drawing it again.
            if (map_changed || elapsed_ms(now, notice_at) < NOTICE_MS + 500) {
                map_changed = 0;
                draw_map_page(now, w, h);
            } else if (SDL_WaitEventTimeout(&ev, HIDDEN_WAIT_MS)) {
                handle_event(ev);
            }
        } else if (menu_open) { // paused: the view is drawn as it stood
            int w = 0, h = 0;
            SDL_GL_GetDrawableSize(win, &w, &h);
            render_3d();
            draw_overlay(game_state, menu_opened_at, w, h);
        } else {
            double dt = frame_dt(now, prev);
            journey_frame(now - prev);
            if (game_state == STATE_PLAY) {
                dark_presence_check();
                next_state = STATE_PLAY;
                update_player(now, dt);
            } else {
                update_intro(now);
            }
            update_flashlight(dt);
            int w = 0, h = 0;
            SDL_GL_GetDrawableSize(win, &w, &h);
            render_3d();
            draw_overlay(game_state, now, w, h);
            game_state = next_state;
        }
        write_screenshot(); // after the frame it shows, so the encoding delays only the next
        soak_log_frame((SDL_GetPerformanceCounter() - frame_start) * 1000.0 /
                       SDL_GetPerformanceFrequency());
        if (quit_requested) break;

        uint32_t spent = SDL_GetTicks() - now;
        if (spent < budget_ms) SDL_Delay(budget_ms - spent);
    }
}

} // namespace

int main(int, char **) {
    keep_heap_between_frames();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    forgive_late_wakeups(); // the map page waits for events, and may be closed as it waits
    // A machine without sound must still get its window: audio is optional.
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) != 0) SDL_Init(SDL_INIT_VIDEO);
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); // optional too: keys and mouse still play
    IMG_Init(IMG_INIT_PNG);
    TTF_Init();
    Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 512);
    Mix_AllocateChannels(4);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (invisible_video()) {
        std::fprintf(stderr, "Drevix Raycaster: cannot open a window: no display found (is "
                             "DISPLAY set?)\n");
        return 1;
    }
    std::string gl_missing = gl_load_library();
    if (!gl_missing.empty()) {
        startup_failed(gl_missing);
        return 1;
    }
    settings_load();
    fit_window_to_display(nullptr);
    win = SDL_CreateWindow("Drevix Raycaster", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                           window_width, window_height,
                           SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (!win) {
        startup_failed(std::string("cannot open a window: ") + SDL_GetError());
        return 1;
    }
    fit_window_to_display(win);
    SDL_GLContext gl_ctx = SDL_GL_CreateContext(win);
    if (!gl_ctx) {
        startup_failed(std::string("cannot create an OpenGL context: ") + SDL_GetError());
        return 1;
    }
    std::string gl_call = gl_load_functions();
    if (!gl_call.empty()) {
        startup_failed("cannot start: the OpenGL driver has no " + gl_call);
        return 1;
    }
    bool vsync = SDL_GL_SetSwapInterval(1) == 0;
    // Typing starts only when the chat opens, so the key that opens it is
    // never typed into the line.
    SDL_StopTextInput();
    find_base_dir(); // before the fonts: the small one is the game's own file first
    font_small = open_small_font(base_dir.c_str());

    if (SDL_Surface *icon = load_asset(ASSET_ICON, IMG_Load_RW)) {
        SDL_SetWindowIcon(win, icon);
        SDL_FreeSurface(icon);
    }
    font_medium = open_bold_font(base_dir.c_str(), 18, font_small);
    font_large = open_bold_font(base_dir.c_str(), 28, font_small);

    snd_step = load_asset(ASSET_STEP, Mix_LoadWAV_RW);
    Mix_Music *music_bg = load_asset(ASSET_MUSIC, Mix_LoadMUS_RW);
    if (music_bg) Mix_PlayMusic(music_bg, -1);

    tex_wall = load_texture(ASSET_WALL);
    tex_secret = load_texture(ASSET_SECRET);
    tex_floor_id = load_texture(ASSET_FLOOR);
    tex_ceil = load_texture(ASSET_CEILING);
    tex_bg = load_texture(ASSET_BACKGROUND);
    if (!tex_wall || !tex_secret || !tex_floor_id || !tex_ceil) {
        startup_failed("missing textures in " + asset_path(base_dir, "%s/assets"),
                       texture_failures);
        return 1;
    }

    tex_door_closed = load_texture(ASSET_DOOR_CLOSED);
    tex_door_open = load_texture(ASSET_DOOR_OPEN);

    SDL_Cursor *arrow_cursor = nullptr;
    SDL_Surface *cursor_image = load_asset(ASSET_CURSOR, IMG_Load_RW);
    if (!cursor_image)
        cursor_image = IMG_Load_RW(open_optional_asset_file(ASSET_CURSOR_RELATIVE), 1);
    if (cursor_image) {
        arrow_cursor = SDL_CreateColorCursor(cursor_image, 0, 0);
        SDL_FreeSurface(cursor_image);
    }

    player_reset();
    find_spawn();
    std::string journey_warning; // the menu says it once
    journey_start(&journey_warning);

    Mix_VolumeMusic(0); // silent until the intro fades it in
    settings_apply();   // effects volume, full screen
    SDL_SetRelativeMouseMode(SDL_FALSE);
    if (arrow_cursor) SDL_SetCursor(arrow_cursor);
    SDL_ShowCursor(1);

    soak_log_open();
    run_loop(frame_budget_ms(vsync));
    journey_write();
    soak_log_close();
    remember_window();
    std::string not_saved;
    settings_save(&not_saved); // says why on stderr when it fails

    Mix_FreeChunk(snd_step);
    Mix_FreeMusic(music_bg);
    Mix_CloseAudio();
    if (arrow_cursor) SDL_FreeCursor(arrow_cursor);
    if (font_small) TTF_CloseFont(font_small);
    if (font_medium && font_medium != font_small) TTF_CloseFont(font_medium);
    if (font_large && font_large != font_small) TTF_CloseFont(font_large);
    TTF_Quit();
    IMG_Quit();
    SDL_GL_DeleteContext(gl_ctx);
    SDL_DestroyWindow(win);
    SDL_Quit();
    return 0;
}
