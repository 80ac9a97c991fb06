// The chat console's input: opening, closing and typing. Mouse look is the
// loop's: it turns it off before opening and puts it back on closing.
#pragma once

#include <SDL2/SDL_events.h>

void chat_add(const char *text);
void chat_open_console();
void chat_close_console();
// 1 when the event closed the console (Esc, the close box).
int chat_handle_event(const SDL_Event &ev);
void post_dark_presence();
