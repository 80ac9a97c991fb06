#include "textures.h"
#include "asset_file.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_opengl.h>
#include <algorithm>
#include <cstdio>

uint32_t tex_wall, tex_secret, tex_floor_id, tex_ceil, tex_bg;
uint32_t tex_door_closed, tex_door_open;
uint32_t max_texture_name = 0;
std::string texture_failures;

// An image larger than this GL takes would draw white: it is drawn smaller
// instead, its sides in proportion. Null when it fits or cannot be scaled.
static SDL_Surface *fitted(SDL_Surface *argb, const char *name) {
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    if (max <= 0 || (argb->w <= max && argb->h <= max)) return nullptr;
    double scale = static_cast<double>(max) / std::max(argb->w, argb->h);
    int w = std::clamp(static_cast<int>(argb->w * scale), 1, static_cast<int>(max));
    int h = std::clamp(static_cast<int>(argb->h * scale), 1, static_cast<int>(max));
    SDL_Surface *small = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_SetSurfaceBlendMode(argb, SDL_BLENDMODE_NONE); // copy alpha as it is
    if (small && SDL_BlitScaled(argb, nullptr, small, nullptr) != 0) {
        SDL_FreeSurface(small);
        return nullptr;
    }
    if (small && name)
        std::fprintf(stderr,
                     "Drevix Raycaster: %s is %dx%d pixels, more than OpenGL takes here (%d); "
                     "drawn at %dx%d\n",
                     name, argb->w, argb->h, static_cast<int>(max), w, h);
    return small;
}

// Uploads a surface already in ARGB8888 (bytes B, G, R, A on little-endian).
// 0, with the reason in SDL_GetError(), when GL does not take it.
static uint32_t upload(SDL_Surface *argb, GLint filter, GLint wrap, const char *name) {
    SDL_Surface *small = fitted(argb, name);
    if (small) argb = small;
    // Earlier errors are not this upload's; without a context they never clear.
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; i++) continue;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture > max_texture_name) max_texture_name = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // ARGB8888 words as they lie in memory, into the format that holds them
    // the same way: the driver copies rows instead of converting texels.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, argb->pitch / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, argb->w, argb->h, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, argb->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    GLenum error = glGetError();
    SDL_FreeSurface(small);
    if (error == GL_NO_ERROR) return texture;
    glDeleteTextures(1, &texture);
    SDL_SetError("OpenGL does not take it: error 0x%x", error);
    return 0;
}

static uint32_t scene_texture(SDL_Surface *loaded, const char *name) {
    uint32_t texture = 0;
    if (loaded) {
        SDL_Surface *argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(loaded);
        if (argb) texture = upload(argb, GL_NEAREST, GL_REPEAT, name);
        SDL_FreeSurface(argb);
    }
    if (!texture) {
        std::string line = std::string("Failed: ") + name + " (" + SDL_GetError() + ")\n";
        std::fputs(line.c_str(), stderr);
        texture_failures += line;
    }
    return texture;
}

uint32_t load_gl_tex(const char *path) {
    SDL_RWops *file = open_asset_file(path);
    return scene_texture(file ? IMG_Load_RW(file, 1) : nullptr, path);
}

uint32_t load_gl_tex_rw(SDL_RWops *src, const char *name) {
    return scene_texture(src ? IMG_Load_RW(src, 1) : nullptr, name);
}

uint32_t surf_to_gl(SDL_Surface *surface) {
    // Rendered text comes in this format already: upload it as it is rather
    // than through a copy.
    if (surface->format->format == SDL_PIXELFORMAT_ARGB8888 && surface->pitch % 4 == 0 &&
        !SDL_MUSTLOCK(surface))
        return upload(surface, GL_LINEAR, GL_CLAMP_TO_EDGE, nullptr);
    SDL_Surface *argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) return 0;
    uint32_t name = upload(argb, GL_LINEAR, GL_CLAMP_TO_EDGE, nullptr);
    SDL_FreeSurface(argb);
    return name;
}
