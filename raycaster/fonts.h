// The game's three fonts, each opened by its chain of files. A font counts
// when it draws a sample; one that opens but cannot draw is named on stderr
// and the next is tried. A chain with none usable says so on stderr, naming
// the files it looked for, and the game runs without that text.
#pragma once

#include <SDL2/SDL_ttf.h>

// 14 pt monospace for the readout and the chat, lightly hinted: the game's
// own copy under `base_dir`, its copy built into the program, then the
// system's. Null when none opens.
TTF_Font *open_small_font(const char *base_dir);
// Bold at `size` points for the title: the game's own file, its built-in
// copy, the system's copies, then `fallback`.
TTF_Font *open_bold_font(const char *base_dir, int size, TTF_Font *fallback);
