// The window's state and what the keys and buttons do to it, free of any
// window so it can be tested alone.
#pragma once

#include "config.h"
#include "maze.h"
#include "maze_stats.h"

#include <SDL_rect.h>
#include <SDL_ttf.h>
#include <array>
#include <cstdint>

struct Button {
    SDL_Rect rect;
    uint32_t color;
    uint32_t hover_color;
    const char *label; // not owned
    TTF_Font *font;    // not owned
};
using Buttons = std::array<Button, BUTTON_COUNT>;

struct ViewState {
    int algo;
    int size_idx; // one index for the S key and the SIZE button alike
    int hovered;  // button index, -1 for none
    uint32_t gen_ms;
    uint32_t seed;   // the maze's seed
    MazeStats stats; // the maze's figures, counted once per maze
    int running;
    int show_solution;          // stays on across new mazes until switched off
    char message[STATUS_BYTES]; // shown instead of the status until message_until
                                // or the next new maze
    uint32_t message_until;
    int message_failed; // drawn in COLOR_ERROR
    Buttons buttons;
};

enum Action {
    ACT_NONE,
    ACT_GENERATE,
    ACT_NEXT_ALGO,
    ACT_NEXT_SIZE,
    ACT_SOLUTION,
    ACT_EXPORT,     // carried out by the window, which owns the file writing
    ACT_COPY_SEED,  // carried out by the window, which owns the clipboard
    ACT_PASTE_SEED, // likewise; the window then calls use_seed
    ACT_QUIT
};

using TickFn = uint32_t (*)();
// Width in pixels of text drawn in font; 0 when unknown.
using MeasureFn = int (*)(TTF_Font *font, const char *text);

// Sets up the state and generates the start-up maze. The buttons get their
// least widths until fit_buttons measures their captions.
void view_start(ViewState &s, Maze &m, TTF_Font *font, TickFn ticks);

// Lays the buttons out in their row, each wide enough for every caption it
// can show in its font, so no caption outgrows its button whatever it reads.
void fit_buttons(Buttons &buttons, MeasureFn measure);

// Where the status line starts: clear of the last button.
int status_x(const Buttons &buttons);

// Carries out an action; true when it generated a new maze. Every new maze
// gets a fresh seed. ACT_EXPORT and the seed actions do nothing here.
bool apply_action(ViewState &s, Maze &m, Action a, TickFn ticks);

// Makes the maze of that seed at the current algorithm and size.
void use_seed(ViewState &s, Maze &m, uint32_t seed, TickFn ticks);

// The button whose rect holds (x, y), right and bottom edges excluded; -1 for none.
int button_at(const Buttons &buttons, int x, int y);

Action button_action(int button);
