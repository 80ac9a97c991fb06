#include "text.h"

#include "config.h"

TTF_Font *font_sm;
TTF_Font *font_lg;
TTF_Font *font_title;

static TTF_Font *open_font(int points) {
    for (const char *path : FONT_PATHS)
        if (TTF_Font *f = TTF_OpenFont(path, points)) return f;
    return nullptr;
}

void open_fonts() {
    font_sm = open_font(FONT_SM_PT);
    font_lg = open_font(FONT_LG_PT);
    font_title = open_font(FONT_TITLE_PT);
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
