#include "text.h"

#include "config.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

TTF_Font *font_sm;
TTF_Font *font_lg;
TTF_Font *font_title;

// A damaged file can open and still draw nothing, so each size is tried on
// a sample of the text it will show. Null, with the reason on standard
// error, when the font cannot be used; silent when the file is not there, as
// the chain names places where other systems keep the font.
static TTF_Font *usable_font(const char *path, int points) {
    TTF_Font *f = TTF_OpenFont(path, points);
    struct stat st;
    if (!f && stat(path, &st) == 0)
        std::fprintf(stderr, "maze-generator: cannot open the font %s: %s\n", path, TTF_GetError());
    if (!f) return nullptr;
    if (SDL_Surface *sample =
            TTF_RenderUTF8_Blended(f, "80x50 ALGO:PRIM [G]", {255, 255, 255, 255})) {
        SDL_FreeSurface(sample);
        return f;
    }
    std::fprintf(stderr, "maze-generator: the font %s opens but cannot draw: %s\n", path,
                 TTF_GetError());
    TTF_CloseFont(f);
    return nullptr;
}

void open_fonts() {
    std::string looked;
    for (const char *path : FONT_PATHS) {
        font_sm = usable_font(path, FONT_SM_PT);
        font_lg = font_sm ? usable_font(path, FONT_LG_PT) : nullptr;
        font_title = font_lg ? usable_font(path, FONT_TITLE_PT) : nullptr;
        if (font_title) return;
        close_fonts();
        looked += (looked.empty() ? "" : ", ") + std::string(path);
    }
    std::fprintf(stderr, "maze-generator: no usable font (looked for %s); running without text\n",
                 looked.c_str());
}

void close_fonts() {
    for (TTF_Font **f : {&font_sm, &font_lg, &font_title}) {
        if (*f) TTF_CloseFont(*f);
        *f = nullptr;
    }
}

void draw_text(SDL_Renderer *r, int x, int y, const char *text, uint32_t color, TTF_Font *font) {
    if (!text || !*text || !font) return;
    SDL_Color c = {static_cast<Uint8>(color >> 16), static_cast<Uint8>(color >> 8),
                   static_cast<Uint8>(color), 255};
    SDL_Surface *surface = TTF_RenderUTF8_Blended(font, text, c);
    if (!surface) return;
    if (SDL_Texture *texture = SDL_CreateTextureFromSurface(r, surface)) {
        SDL_Rect dst = {x, y, surface->w, surface->h};
        SDL_RenderCopy(r, texture, nullptr, &dst);
        SDL_DestroyTexture(texture);
    }
    SDL_FreeSurface(surface);
}
