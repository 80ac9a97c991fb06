#include "text.h"

#include "config.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
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
    std::vector<std::string> paths(FONT_PATHS.begin(), FONT_PATHS.end());
    if (char *dir = SDL_GetBasePath()) {
        for (const char *bundled : BUNDLED_FONT_PATHS) paths.push_back(dir + std::string(bundled));
        SDL_free(dir);
    }
    std::string looked;
    for (const std::string &path : paths) {
        font_sm = usable_font(path.c_str(), FONT_SM_PT);
        font_lg = font_sm ? usable_font(path.c_str(), FONT_LG_PT) : nullptr;
        font_title = font_lg ? usable_font(path.c_str(), FONT_TITLE_PT) : nullptr;
        if (font_title) return;
        close_fonts();
        looked += (looked.empty() ? "" : ", ") + path;
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

// The toolbar's six texts seldom change, and rendering and uploading one
// costs far more than drawing it: their textures stay. A few more slots than
// texts shown keep the captions of a whole turn of the algorithms.
struct KeptText {
    SDL_Renderer *renderer; // null: a free slot
    TTF_Font *font;
    uint32_t rgb;
    char text[STATUS_BYTES]; // a longer text is never found again, so never stale
    SDL_Texture *texture;
    int w, h;
    uint32_t used; // draw_count when last drawn
};
constexpr int KEPT_TEXTS = 16;
static std::array<KeptText, KEPT_TEXTS> kept;
static uint32_t draw_count;

static void forget(KeptText &k) {
    if (k.texture) SDL_DestroyTexture(k.texture);
    k = {};
}

void forget_texts() {
    for (KeptText &k : kept) forget(k);
}

// The slot for the text, made now if need be; null when it cannot be drawn.
static KeptText *kept_text(SDL_Renderer *r, const char *text, uint32_t rgb, TTF_Font *font) {
    KeptText *oldest = &kept[0];
    for (KeptText &k : kept) {
        if (k.renderer == r && k.font == font && k.rgb == rgb && std::strcmp(k.text, text) == 0)
            return &k;
        if (!k.renderer || (oldest->renderer && k.used < oldest->used)) oldest = &k;
    }
    SDL_Color c = {static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                   static_cast<Uint8>(rgb), 255};
    SDL_Surface *surface = TTF_RenderUTF8_Blended(font, text, c);
    if (!surface) return nullptr;
    SDL_Texture *texture = SDL_CreateTextureFromSurface(r, surface);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);
    if (!texture) return nullptr;
    forget(*oldest);
    KeptText &k = *oldest;
    k = {r, font, rgb, {}, texture, w, h, 0};
    std::snprintf(k.text, sizeof k.text, "%s", text);
    return &k;
}

void draw_text(SDL_Renderer *r, int x, int y, const char *text, uint32_t color, TTF_Font *font) {
    if (!text || !*text || !font) return;
    KeptText *k = kept_text(r, text, color & 0xFFFFFF, font);
    if (!k) return;
    k->used = ++draw_count;
    SDL_Rect dst = {x, y, k->w, k->h};
    SDL_RenderCopy(r, k->texture, nullptr, &dst);
}

int text_width(TTF_Font *font, const char *text) {
    int w = 0, h = 0;
    if (!font || !text || TTF_SizeUTF8(font, text, &w, &h) != 0) return 0;
    return w;
}
