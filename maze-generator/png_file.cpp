#include "png_file.h"

#include <SDL.h>
#include <SDL_image.h>

// The encoder writes into memory, so every byte reaches the disk through the
// export's own checked writes: the image library's file writing lets a short
// write or a failed close pass as success.
static size_t SDLCALL append(SDL_RWops *rw, const void *data, size_t size, size_t n) {
    try {
        static_cast<std::string *>(rw->hidden.unknown.data1)
            ->append(static_cast<const char *>(data), size * n);
        return n;
    } catch (...) {
        return 0;
    }
}

static Sint64 SDLCALL position(SDL_RWops *rw, Sint64 offset, int whence) {
    const auto end = Sint64(static_cast<std::string *>(rw->hidden.unknown.data1)->size());
    // Only ever asked where it stands: at the end, as it only appends.
    if ((whence == RW_SEEK_CUR || whence == RW_SEEK_END) && offset == 0) return end;
    if (whence == RW_SEEK_SET && offset == end) return end;
    return SDL_SetError("PNG buffer cannot seek");
}

static Sint64 SDLCALL size(SDL_RWops *rw) {
    return position(rw, 0, RW_SEEK_END);
}

static size_t SDLCALL nothing_to_read(SDL_RWops *, void *, size_t, size_t) {
    return 0;
}

static int SDLCALL free_ops(SDL_RWops *rw) {
    SDL_FreeRW(rw);
    return 0;
}

bool encode_png(const Picture &p, std::string &out) {
    out.clear();
    SDL_Surface *argb = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t *>(p.pixels.data()), p.w, p.h, 32, p.w * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!argb) return false;
    // Opaque anyway: without the alpha channel the file is a quarter smaller.
    SDL_Surface *rgb = SDL_ConvertSurfaceFormat(argb, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(argb);
    if (!rgb) return false;
    bool ok = false;
    if (SDL_RWops *rw = SDL_AllocRW()) {
        rw->hidden.unknown.data1 = &out;
        rw->size = size;
        rw->seek = position;
        rw->read = nothing_to_read;
        rw->write = append;
        rw->close = free_ops;
        ok = IMG_SavePNG_RW(rgb, rw, 0) == 0;
        SDL_RWclose(rw);
    }
    SDL_FreeSurface(rgb);
    return ok && !out.empty();
}
