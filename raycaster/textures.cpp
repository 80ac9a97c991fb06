#include "textures.h"
#include "asset_file.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_opengl.h>
#include <cstdio>

uint32_t tex_wall, tex_secret, tex_floor_id, tex_ceil, tex_bg;
uint32_t tex_door_closed, tex_door_open;
uint32_t max_texture_name = 0;
std::string texture_failures;

// Uploads a surface already in ARGB8888 (bytes B, G, R, A on little-endian).
static uint32_t upload(SDL_Surface *argb, GLint filter, GLint wrap) {
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name > max_texture_name) max_texture_name = name;
    glBindTexture(GL_TEXTURE_2D, name);
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
    return name;
}

static uint32_t scene_texture(SDL_Surface *loaded, const char *name) {
    if (!loaded) {
        std::string line = std::string("Failed: ") + name + " (" + SDL_GetError() + ")\n";
        std::fputs(line.c_str(), stderr);
        texture_failures += line;
        return 0;
    }
    SDL_Surface *argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return 0;
    uint32_t texture = upload(argb, GL_NEAREST, GL_REPEAT);
    SDL_FreeSurface(argb);
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
        return upload(surface, GL_LINEAR, GL_CLAMP_TO_EDGE);
    SDL_Surface *argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) return 0;
    uint32_t name = upload(argb, GL_LINEAR, GL_CLAMP_TO_EDGE);
    SDL_FreeSurface(argb);
    return name;
}
