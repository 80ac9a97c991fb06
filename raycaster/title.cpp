#include "title.h"
#include "sys.h"

int title_has_journey = 0;
int title_row = 0;
int title_confirming = 0;

namespace {

TitleChoice choose_new() {
    title_row = 1;
    title_confirming = 1;
    return TITLE_STAYS;
}

TitleChoice cancel() {
    title_row = 0;
    title_confirming = 0;
    return TITLE_STAYS;
}

// While the question stands: yes starts over, no goes back to Continue.
TitleChoice confirm(const SDL_Event &ev) {
    switch (ev.type) {
    case SDL_KEYDOWN:
        if (ev.key.repeat) return TITLE_STAYS;
        switch (ev.key.keysym.sym) {
        case SDLK_y:
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return TITLE_NEW;
        case SDLK_ESCAPE:
        case SDLK_n:
        case SDLK_BACKSPACE:
            return cancel();
        default:
            return TITLE_STAYS;
        }
    case SDL_MOUSEBUTTONDOWN:
        return ev.button.button == SDL_BUTTON_LEFT ? TITLE_NEW : cancel();
    case SDL_CONTROLLERBUTTONDOWN:
        if (ev.cbutton.button == SDL_CONTROLLER_BUTTON_A) return TITLE_NEW;
        if (ev.cbutton.button == SDL_CONTROLLER_BUTTON_B) return cancel();
        return TITLE_STAYS;
    default:
        return TITLE_STAYS;
    }
}

} // namespace

void title_reset(int has_journey) {
    title_has_journey = has_journey;
    title_row = title_confirming = 0;
}

TitleLayout title_layout(int, int h) {
    float s = h / 600.0f;
    return {0.64f * h, 0.64f * h + 46 * s, 0.64f * h + 104 * s, 42 * s};
}

TitleChoice title_handle_event(const SDL_Event &ev, int w, int h) {
    bool press = ev.type == SDL_KEYDOWN || ev.type == SDL_MOUSEBUTTONDOWN ||
                 ev.type == SDL_CONTROLLERBUTTONDOWN;
    if (!press) return TITLE_STAYS;
    if (!title_has_journey) return TITLE_CONTINUE; // as the title always was
    if (title_confirming) return confirm(ev);
    if (ev.type == SDL_KEYDOWN) return ev.key.keysym.sym == SDLK_n ? choose_new() : TITLE_CONTINUE;
    if (ev.type == SDL_MOUSEBUTTONDOWN) {
        int x, y;
        drawable_point(ev.button.x, ev.button.y, &x, &y);
        TitleLayout l = title_layout(w, h);
        return y >= l.new_y && y < l.new_y + l.row_h ? choose_new() : TITLE_CONTINUE;
    }
    switch (ev.cbutton.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        title_row ^= 1;
        return TITLE_STAYS;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return TITLE_STAYS;
    case SDL_CONTROLLER_BUTTON_A:
        return title_row ? choose_new() : TITLE_CONTINUE;
    default:
        return TITLE_CONTINUE;
    }
}
