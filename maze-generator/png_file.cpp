#include "png_file.h"

#include <SDL.h>
#include <SDL_image.h>

bool save_png(const Picture &p, const char *path) {
    SDL_Surface *argb = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t *>(p.pixels.data()), p.w, p.h, 32, p.w * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!argb) return false;
    // Opaque anyway: without the alpha channel the file is a quarter smaller.
    SDL_Surface *rgb = SDL_ConvertSurfaceFormat(argb, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(argb);
    if (!rgb) return false;
    const bool ok = IMG_SavePNG(rgb, path) == 0;
    SDL_FreeSurface(rgb);
    return ok;
}
