#include "embedded.h"
#include "paths.h"

#include <SDL2/SDL.h>
#include <windows.h>

// The resource script names each copy by embedded_asset_name's rule.
SDL_RWops *embedded_asset(const char *format) {
    char name[ASSET_NAME_BYTES];
    embedded_asset_name(format, name);
    if (!name[0]) return nullptr;
    HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return nullptr;
    // Resources stay mapped for the life of the program.
    return SDL_RWFromConstMem(bytes, static_cast<int>(SizeofResource(nullptr, found)));
}
