// Copies of the assets built into the program. The Windows build is
// installed as one file with no asset folder beside it, so it carries its
// own (embedded_win32.cpp); the Linux build carries none (embedded_none.cpp)
// and loads its files only.
#pragma once

#include <SDL2/SDL_rwops.h>

// A read-only stream over the built-in copy of the asset whose path format
// is `format` (such as ASSET_WALL), or null when the program has none.
SDL_RWops *embedded_asset(const char *format);
