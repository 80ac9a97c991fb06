#include "chat.h"
#include "chat_store.h"
#include "sys.h"

void chat_add(const char *text) {
    chat_add_at(text, sys_ticks());
}

void chat_open_console() {
    chat_open = 1;
    sys_start_text_input();
}

void chat_close_console() {
    chat_open = 0;
    sys_stop_text_input();
}

int chat_handle_event(const SDL_Event &ev) {
    switch (ev.type) {
    case SDL_KEYDOWN:
        switch (ev.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            chat_submit_at(sys_ticks());
            break;
        case SDLK_BACKSPACE:
            chat_backspace();
            break;
        case SDLK_ESCAPE:
            chat_close_console();
            return 1;
        default:
            break;
        }
        break;
    case SDL_TEXTINPUT:
        if (chat_open) chat_type(ev.text.text);
        break;
    case SDL_MOUSEBUTTONDOWN: {
        if (ev.button.button != SDL_BUTTON_LEFT) break;
        int dw, dh, x, y;
        sys_drawable_size(&dw, &dh);
        drawable_point(ev.button.x, ev.button.y, &x, &y);
        if (chat_in_close_box(chat_layout(dw, dh), x, y)) {
            chat_close_console();
            return 1;
        }
        break;
    }
    default:
        break;
    }
    return 0;
}

void post_dark_presence() {
    char line[600];
    format_dark_presence(line, sizeof line);
    chat_add(line);
}
