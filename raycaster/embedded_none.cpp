#include "embedded.h"

SDL_RWops *embedded_asset(const char *) {
    return nullptr;
}
