// The options menu: its pages and rows, getting around them by keyboard,
// mouse or controller, changing settings and bindings, and its layout,
// which the drawing (menu_view.cpp) and the mouse share. While it is open
// the game is paused.
#pragma once

#include <SDL2/SDL_events.h>
#include <cstdint>
#include <string>

enum MenuPage : int { MENU_MAIN, MENU_CONTROLS };
enum MenuRowKind : int {
    ROW_RESUME,
    ROW_SETTING, // index: into SETTINGS
    ROW_CONTROLS,
    ROW_RESET,
    ROW_QUIT,
    ROW_ACTION, // index: the action
    ROW_BACK,
};
struct MenuRow {
    MenuRowKind kind;
    int index;
};

constexpr int MENU_KEY_COLUMNS = 2; // then the controller button's column

extern int menu_open;
extern int menu_page;
extern int menu_row;             // the chosen row of the page
extern int menu_column;          // on the controls page: 0 and 1 keys, 2 the button
extern int menu_waiting;         // for the key or button to bind to the chosen cell
extern std::string menu_message; // a swap, a refusal or a failed save
extern int menu_message_is_error;
extern uint32_t menu_opened_at; // tick: the game's clocks stand still from here

int menu_row_count();
MenuRow menu_row_at(int row);

// What the player chose, as bits: the loop acts on them.
enum : int {
    MENU_APPLY = 1,  // a setting changed: put it into effect
    MENU_CLOSED = 2, // the game goes on
    MENU_QUIT = 4,
};

void menu_open_panel();
// Saves changed settings and closes (MENU_CLOSED); when saving fails the
// menu stays open once to show why (0).
int menu_close_panel();
int menu_handle_event(const SDL_Event &ev);
void menu_say(const std::string &text, int error); // the message line

// Where everything lies on a W x H drawable: the 960x600 reference layout,
// scaled evenly and centred.
struct MenuLayout {
    float scale;
    float x0, y0, x1, y1; // the panel
    float rows_top, row_h;
    float value_x, track_w;               // a setting's value, a slider's track
    float column_x[MENU_KEY_COLUMNS + 2]; // the controls' cells, and their right end
    float message_y;
};
MenuLayout menu_layout(int w, int h);
