// The maze generator's window: start-up, the event loop and shutdown.
#include "cli.h"
#include "config.h"
#include "controls.h"
#include "draw.h"
#include "export.h"
#include "maze_seed.h"
#include "png_file.h"
#include "status.h"
#include "text.h"
#include "x11_errors.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#ifdef DREVIX_FONT_SETUP_BESIDE_PROGRAM
#include <fontconfig/fontconfig.h>
#endif

static Maze maze; // the one maze of the run; 90 KB, so not on the stack

static uint32_t ticks() {
    return SDL_GetTicks();
}

static Action key_action(const SDL_Keysym &key) {
    switch (key.sym) {
    case SDLK_ESCAPE:
        return ACT_QUIT;
    case SDLK_g:
        return ACT_GENERATE;
    case SDLK_a:
        return ACT_NEXT_ALGO;
    case SDLK_s:
        return ACT_NEXT_SIZE;
    case SDLK_v:
        return (key.mod & KMOD_CTRL) ? ACT_PASTE_SEED : ACT_SOLUTION;
    case SDLK_c:
        return ACT_COPY_SEED;
    case SDLK_e:
        return ACT_EXPORT;
    default:
        return ACT_NONE;
    }
}

static void export_now(ViewState &s) {
    char message[STATUS_BYTES];
    const std::string about = maze_about(maze, ALGO_NAMES[s.algo], s.seed);
    const bool saved =
        export_maze(maze, s.algo, pictures_dir(), encode_png, message, about.c_str());
    show_message(s, message, ticks(), !saved);
}

static void copy_seed(ViewState &s) {
    SeedCode code;
    seed_code(s.seed, code);
    char message[STATUS_BYTES];
    const bool copied = SDL_SetClipboardText(code) == 0;
    if (copied)
        std::snprintf(message, sizeof message, "COPIED seed %s", code);
    else
        std::snprintf(message, sizeof message, "NOT COPIED: %s", SDL_GetError());
    show_message(s, message, ticks(), !copied);
}

// A seed in the clipboard makes its maze; anything else is named in red.
static void paste_seed(ViewState &s) {
    char *text = SDL_GetClipboardText(); // "" when empty or unreadable
    uint32_t seed = 0;
    if (text && seed_parse(text, seed)) {
        use_seed(s, maze, seed, ticks);
    } else {
        std::string shown = text ? text : "";
        for (char &c : shown)
            if (static_cast<unsigned char>(c) < ' ') c = ' ';
        if (shown.size() > 16) shown = shown.substr(0, 16) + "...";
        char message[STATUS_BYTES];
        std::snprintf(message, sizeof message, "NO SEED IN THE CLIPBOARD: '%s' (six of 0-9 A-Z)",
                      shown.c_str());
        show_message(s, message, ticks(), true);
    }
    SDL_free(text);
}

// What an event changed on the screen. NEWS, a new maze or an export's
// message, changes the view too and is echoed once shown.
enum Change { CHANGE_NONE, CHANGE_VIEW, CHANGE_NEWS };

static Change acted(ViewState &s, Action a) {
    if (apply_action(s, maze, a, ticks)) return CHANGE_NEWS;
    // Any other action but quitting changes something shown.
    return a == ACT_NONE || a == ACT_QUIT ? CHANGE_NONE : CHANGE_VIEW;
}

static Change window_change(const SDL_WindowEvent &w) {
    switch (w.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        return CHANGE_VIEW;
    default:
        return CHANGE_NONE;
    }
}

static Change handle_event(const SDL_Event &e, ViewState &s) {
    switch (e.type) {
    case SDL_QUIT:
        return acted(s, ACT_QUIT);
    case SDL_KEYDOWN: {
        const Action a = key_action(e.key.keysym);
        if (a != ACT_EXPORT && a != ACT_COPY_SEED && a != ACT_PASTE_SEED) return acted(s, a);
        // A held key would act again with every repeat: four more files each time.
        if (e.key.repeat) return CHANGE_NONE;
        if (a == ACT_EXPORT)
            export_now(s);
        else if (a == ACT_COPY_SEED)
            copy_seed(s);
        else
            paste_seed(s);
        return CHANGE_NEWS;
    }
    case SDL_MOUSEMOTION: {
        const int was = s.hovered;
        s.hovered = button_at(s.buttons, e.motion.x, e.motion.y);
        return s.hovered == was ? CHANGE_NONE : CHANGE_VIEW;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT) return CHANGE_NONE;
        return acted(s, button_action(button_at(s.buttons, e.button.x, e.button.y)));
    case SDL_WINDOWEVENT:
        return window_change(e.window);
    case SDL_RENDER_DEVICE_RESET:
        forget_texts(); // the textures went with the device
        return CHANGE_VIEW;
    case SDL_RENDER_TARGETS_RESET:
        return CHANGE_VIEW;
    default:
        return CHANGE_NONE;
    }
}

static int fail(const char *what, SDL_Window *window) {
    std::fprintf(stderr, "maze-generator: cannot %s: %s\n", what, SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
    return 1;
}

// Without a display SDL falls back to a driver that shows nothing; unless
// that driver was asked for, nobody would ever see the window.
static bool invisible_video() {
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = std::getenv("SDL_VIDEODRIVER");
    return driver && (asked == nullptr || *asked == '\0') &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// The portable archive carries a font library that may be older than the
// system's font configuration: started as usual it would read that with
// warnings, or find none on a minimal system. Unless the user chose a setup,
// it is started on the archive's own (the system's font folders), and the
// archive's fonts come on top. Only the worksheets need it.
static void use_bundled_font_setup() {
#ifdef DREVIX_FONT_SETUP_BESIDE_PROGRAM
    char *dir = SDL_GetBasePath();
    if (!dir) return;
    const std::string base = dir;
    SDL_free(dir);
    const std::string file = base + BUNDLED_FONT_SETUP, fonts = base + BUNDLED_FONT_DIR;
    auto text = [](const std::string &s) { return reinterpret_cast<const FcChar8 *>(s.c_str()); };
    FcConfig *config = nullptr;
    if (!std::getenv("FONTCONFIG_FILE")) {
        config = FcConfigCreate();
        if (config && !FcConfigParseAndLoad(config, text(file), FcTrue)) {
            FcConfigDestroy(config);
            config = nullptr;
        }
    }
    if (config) {
        FcConfigBuildFonts(config);
        FcConfigAppFontAddDir(config, text(fonts));
        FcConfigSetCurrent(config); // kept for the run: older libraries take no reference
    } else {
        FcConfigAppFontAddDir(nullptr, text(fonts));
    }
#endif
}

int main(int argc, char **argv) {
    // Arguments mean files, not a window: SDL's video is never started, so
    // this works without a display.
    if (argc > 1) {
        use_bundled_font_setup();
        return cli_main(argc - 1, argv + 1);
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    forgive_late_wakeups();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail("start SDL video", nullptr);
    if (invisible_video()) {
        SDL_SetError("no display found (is DISPLAY set?)");
        return fail("open a window", nullptr);
    }
    TTF_Init(); // on failure the fonts stay missing and text is skipped
    SDL_Window *window = SDL_CreateWindow(WINDOW_TITLE, SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, WINDOW_W, WINDOW_H, 0);
    if (!window) return fail("create the window", nullptr);
    SDL_Renderer *renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) {
        // A 2D window needs no GPU: displays without GL (an X server lacking
        // GLX, some remote desktops) still take SDL's software drawing, and
        // SDL paces its frames as it would with vsync.
        std::fprintf(stderr, "maze-generator: no accelerated renderer (%s); drawing in software\n",
                     SDL_GetError());
        renderer =
            SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    }
    if (!renderer) return fail("create the renderer", window);
    open_fonts();

    const bool echo = std::getenv(ECHO_STATUS_ENV) != nullptr;
    ViewState state;
    view_start(state, maze, font_lg, ticks);
    fit_buttons(state.buttons, text_width);
    // The window draws only when what it shows changes; between changes it
    // sleeps until an event comes or the status line is due to change.
    Change change = CHANGE_NEWS;
    char shown[STATUS_BYTES] = ""; // the status line on the screen
    uint32_t shown_color = 0;
    while (state.running) {
        SDL_Event e;
        auto note = [&](Change c) { change = std::max(change, c); };
        if (change == CHANGE_NONE && SDL_WaitEventTimeout(&e, status_wait_ms(state, ticks())))
            note(handle_event(e, state));
        while (SDL_PollEvent(&e)) note(handle_event(e, state));
        char status[STATUS_BYTES];
        const uint32_t color = status_line(status, state, maze, ticks());
        if (change == CHANGE_NONE && color == shown_color && std::strcmp(status, shown) == 0)
            continue;
        draw_view(renderer, state, maze, status, color);
        SDL_RenderPresent(renderer);
        if (change == CHANGE_NEWS && echo) {
            std::printf("%s\n", status);
            std::fflush(stdout);
        }
        std::memcpy(shown, status, sizeof shown);
        shown_color = color;
        change = CHANGE_NONE;
    }

    forget_texts();
    close_fonts();
    TTF_Quit();
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
