#include "journey_map.h"
#include "bindings.h"
#include "sys.h"

#include <algorithm>
#include <cmath>

int map_open = 0;
double map_x = 0, map_y = 0, map_zoom = MAP_ZOOM_START;
int map_changed = 0;

namespace {

double player_cx = 0, player_cy = 0;
int dragging = 0;
double stick_x = 0, stick_y = 0;         // the left stick, -1..1, past its dead zone
constexpr double PAN_KEY_PIXELS = 60;    // one arrow press, at the reference size
constexpr double PAN_STICK_PIXELS = 600; // a second of full stick
constexpr double ZOOM_STEP = 1.25;

void zoom_by(double f) {
    map_zoom = std::clamp(map_zoom * f, MAP_ZOOM_MIN, MAP_ZOOM_MAX);
}

// Pixels at the reference size as cells at the zoom now.
double cells(double pixels) {
    return pixels / map_zoom;
}

double stick_value(int v) {
    double f = v / 32767.0;
    return std::fabs(f) < 0.25 ? 0 : std::clamp(f, -1.0, 1.0);
}

int closes(const SDL_Event &ev) {
    if (ev.type == SDL_KEYDOWN) {
        SDL_Keycode k = ev.key.keysym.sym;
        return !ev.key.repeat && (k == SDLK_ESCAPE || key_is(ACTION_JOURNEY_MAP, ev.key.keysym));
    }
    return ev.type == SDL_CONTROLLERBUTTONDOWN &&
           (ev.cbutton.button == SDL_CONTROLLER_BUTTON_B ||
            ev.cbutton.button == SDL_CONTROLLER_BUTTON_START ||
            ev.cbutton.button == action_pad[ACTION_JOURNEY_MAP]);
}

} // namespace

void map_open_at(double x, double y, double player_x, double player_y) {
    map_open = 1;
    map_changed = 1;
    map_x = x;
    map_y = y;
    player_cx = player_x;
    player_cy = player_y;
    dragging = 0;
    stick_x = stick_y = 0;
}

double map_cell_pixels(int w, int h) {
    return map_zoom * std::min(w / 960.0, h / 600.0);
}

float map_text_scale(int w, int h) {
    return std::max(1.0f, std::min(w / 960.0f, h / 600.0f));
}

int map_handle_event(const SDL_Event &ev) {
    map_changed = 1;
    if (closes(ev)) {
        map_open = 0;
        return 1;
    }
    switch (ev.type) {
    case SDL_KEYDOWN:
        switch (ev.key.keysym.sym) {
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS:
            zoom_by(ZOOM_STEP);
            break;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            zoom_by(1 / ZOOM_STEP);
            break;
        case SDLK_LEFT:
            map_x -= cells(PAN_KEY_PIXELS);
            break;
        case SDLK_RIGHT:
            map_x += cells(PAN_KEY_PIXELS);
            break;
        case SDLK_UP:
            map_y -= cells(PAN_KEY_PIXELS);
            break;
        case SDLK_DOWN:
            map_y += cells(PAN_KEY_PIXELS);
            break;
        case SDLK_HOME:
            map_x = player_cx;
            map_y = player_cy;
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEWHEEL:
        if (ev.wheel.y) zoom_by(ev.wheel.y > 0 ? ZOOM_STEP : 1 / ZOOM_STEP);
        break;
    case SDL_MOUSEBUTTONDOWN:
        dragging = ev.button.button == SDL_BUTTON_LEFT;
        break;
    case SDL_MOUSEBUTTONUP:
        dragging = 0;
        break;
    case SDL_MOUSEMOTION:
        if (dragging) {
            int dw, dh, x0, y0, x1, y1;
            sys_drawable_size(&dw, &dh);
            drawable_point(0, 0, &x0, &y0);
            drawable_point(ev.motion.xrel, ev.motion.yrel, &x1, &y1);
            double px = map_cell_pixels(dw, dh);
            map_x -= (x1 - x0) / px;
            map_y -= (y1 - y0) / px;
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (ev.cbutton.button == SDL_CONTROLLER_BUTTON_A) {
            map_x = player_cx;
            map_y = player_cy;
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        // Each trigger zooms one step as it is pulled past half way.
        if (ev.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT ||
            ev.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) {
            static int pulled[2];
            int &p = pulled[ev.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT];
            int now = ev.caxis.value > 16384;
            if (now && !p)
                zoom_by(ev.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT ? ZOOM_STEP
                                                                          : 1 / ZOOM_STEP);
            p = now;
        }
        if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) stick_x = stick_value(ev.caxis.value);
        if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) stick_y = stick_value(ev.caxis.value);
        break;
    default:
        break;
    }
    return 0;
}

void map_update(double dt) {
    if (stick_x != 0 || stick_y != 0) map_changed = 1;
    map_x += cells(stick_x * PAN_STICK_PIXELS * dt);
    map_y += cells(stick_y * PAN_STICK_PIXELS * dt);
}
