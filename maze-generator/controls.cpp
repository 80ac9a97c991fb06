#include "controls.h"

#include "maze_seed.h"

#include <algorithm>

// Only generation is timed: a size change's maze_init stays outside the span.
// A new maze ends an export's message so its own time shows at once.
void use_seed(ViewState &s, Maze &m, uint32_t seed, TickFn ticks) {
    uint32_t start = ticks();
    maze_generate_seeded(&m, s.algo, seed);
    s.gen_ms = ticks() - start;
    s.seed = seed % SEED_LIMIT;
    s.stats = maze_stats(m);
    s.message[0] = '\0';
}

static void regenerate(ViewState &s, Maze &m, TickFn ticks) {
    use_seed(s, m, seed_from_rand(), ticks);
}

static void resize(ViewState &s, Maze &m) {
    const SizePair &size = MAZE_SIZES[s.size_idx];
    maze_init(&m, size.first, size.second);
}

void view_start(ViewState &s, Maze &m, TTF_Font *font, TickFn ticks) {
    s.algo = 0;
    s.size_idx = START_SIZE_IDX;
    s.hovered = -1;
    s.running = 1;
    s.show_solution = 0;
    s.message[0] = '\0';
    s.message_until = 0;
    s.message_failed = 0;
    for (int i = 0; i < BUTTON_COUNT; i++) {
        const ButtonStyle &b = BUTTON_STYLES[i];
        s.buttons[i] = {{}, b.color, b.hover_color, b.label, font};
    }
    s.buttons[BUTTON_ALGO].label = ALGO_NAMES[s.algo];
    fit_buttons(s.buttons, nullptr);
    resize(s, m);
    regenerate(s, m, ticks);
}

bool apply_action(ViewState &s, Maze &m, Action a, TickFn ticks) {
    switch (a) {
    case ACT_GENERATE:
        break;
    case ACT_NEXT_ALGO:
        s.algo = (s.algo + 1) % WINDOW_ALGOS;
        s.buttons[BUTTON_ALGO].label = ALGO_NAMES[s.algo];
        break;
    case ACT_NEXT_SIZE:
        s.size_idx = (s.size_idx + 1) % static_cast<int>(MAZE_SIZES.size());
        resize(s, m);
        break;
    case ACT_SOLUTION:
        s.show_solution = !s.show_solution;
        return false;
    case ACT_QUIT:
        s.running = 0;
        return false;
    case ACT_EXPORT:
    case ACT_COPY_SEED:
    case ACT_PASTE_SEED:
    case ACT_NONE:
        return false;
    }
    regenerate(s, m, ticks);
    return true;
}

void fit_buttons(Buttons &buttons, MeasureFn measure) {
    int x = BUTTON_X;
    for (int i = 0; i < BUTTON_COUNT; i++) {
        Button &b = buttons[i];
        int w = BUTTON_STYLES[i].min_w;
        auto fit = [&](const char *caption) {
            if (measure && b.font) w = std::max(w, measure(b.font, caption) + 2 * CAPTION_PAD);
        };
        if (BUTTON_STYLES[i].label)
            fit(BUTTON_STYLES[i].label);
        else
            for (int a = 0; a < WINDOW_ALGOS; a++) fit(ALGO_NAMES[a]);
        b.rect = {x, BUTTON_Y, w, BUTTON_H};
        x += w + BUTTON_GAP;
    }
}

int status_x(const Buttons &buttons) {
    const SDL_Rect &last = buttons[BUTTON_COUNT - 1].rect;
    return std::max(STATUS_X, last.x + last.w + BUTTON_GAP);
}

int button_at(const Buttons &buttons, int x, int y) {
    for (int i = 0; i < BUTTON_COUNT; i++) {
        const SDL_Rect &r = buttons[i].rect;
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return i;
    }
    return -1;
}

Action button_action(int button) {
    switch (button) {
    case BUTTON_GENERATE:
        return ACT_GENERATE;
    case BUTTON_ALGO:
        return ACT_NEXT_ALGO;
    case BUTTON_SIZE:
        return ACT_NEXT_SIZE;
    default:
        return ACT_NONE;
    }
}
