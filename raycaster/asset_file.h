// Opening an asset's file. Only a regular file is read: a FIFO would hold
// start-up waiting for a writer, a device might never end, and a folder is
// no asset.
#pragma once

#include <SDL2/SDL_rwops.h>

// A stream over the regular file at `path` (UTF-8), or null with the reason
// in SDL_GetError(): the system's own, or "not a regular file".
SDL_RWops *open_asset_file(const char *path);

// The same for a file that other copies follow or the game can do without:
// one that lies there but cannot be used is named on stderr; a missing one
// is no news.
SDL_RWops *open_optional_asset_file(const char *path);
