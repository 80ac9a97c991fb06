// The title's choice when a journey was kept: Continue (chosen) or New
// journey, which asks once before starting over. A page: it says what the
// player chose, the loop acts on it.
#pragma once

#include <SDL2/SDL_events.h>

enum TitleChoice : int { TITLE_STAYS, TITLE_CONTINUE, TITLE_NEW };

extern int title_has_journey; // 0: any key, click or button starts, as always
extern int title_row;         // 0 Continue, 1 New journey
extern int title_confirming;  // New journey asked; waiting for yes or no

void title_reset(int has_journey);
// The event's outcome; O and Start never reach the title (they open the menu).
TitleChoice title_handle_event(const SDL_Event &ev, int w, int h);

// Where the two choices lie on a W x H drawable (their text's top), and the
// height of a click's target around each.
struct TitleLayout {
    float continue_y, new_y, prompt_y, row_h;
};
TitleLayout title_layout(int w, int h);
