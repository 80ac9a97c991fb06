#include "fonts.h"
#include "asset_file.h"
#include "embedded.h"
#include "paths.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

// A font cut short or damaged may open and then draw its glyphs blank: each
// is tried on a sample of ASCII, and the small one also on a combining
// mark, as the presence's names need.
constexpr const char *ASCII_SAMPLE = "AZaz09 .,:!?";

bool bold_missing_said = false;

// Alpha summed over a rendering of `text`.
long ink(TTF_Font *font, const char *text) {
    SDL_Surface *drawn = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
    if (!drawn) return 0;
    long sum = 0;
    for (int y = 0; y < drawn->h; y++) {
        auto *row = reinterpret_cast<const Uint32 *>(static_cast<const char *>(drawn->pixels) +
                                                     y * drawn->pitch);
        for (int x = 0; x < drawn->w; x++) sum += row[x] >> 24; // ARGB8888
    }
    SDL_FreeSurface(drawn);
    return sum;
}

// The font in `stream` (closed with it) when it draws; otherwise null, with
// `path` named on stderr.
TTF_Font *usable(SDL_RWops *stream, const std::string &path, int size, int hinting, bool marks) {
    if (!stream) return nullptr;
    TTF_Font *font = TTF_OpenFontRW(stream, 1, size);
    std::string why = font ? "it draws its sample blank" : TTF_GetError();
    if (font) {
        TTF_SetFontHinting(font, hinting);
        if (ink(font, ASCII_SAMPLE) > 0 && (!marks || ink(font, "e\xCC\x81") > ink(font, "e")))
            return font;
        TTF_CloseFont(font);
    }
    std::fprintf(stderr, "Drevix Raycaster: font %s cannot draw text (%s); not used\n",
                 path.c_str(), why.c_str());
    return nullptr;
}

// The first usable font of a chain: the game's own file, its built-in copy,
// then the system's files. `looked_for` lists the files tried.
TTF_Font *open_chain(const char *base_dir, const char *asset, const char *const *paths,
                     size_t count, int size, int hinting, bool marks, std::string *looked_for) {
    std::string own = asset_path(base_dir, asset);
    *looked_for = own;
    TTF_Font *f = usable(open_optional_asset_file(own.c_str()), own, size, hinting, marks);
    if (!f) f = usable(embedded_asset(asset), "built into the program", size, hinting, marks);
    for (size_t i = 0; !f && i < count; i++) {
        *looked_for += std::string(", ") + paths[i];
        f = usable(open_optional_asset_file(paths[i]), paths[i], size, hinting, marks);
    }
    return f;
}

} // namespace

TTF_Font *open_small_font(const char *base_dir) {
    // Light hinting keeps the glyphs crisp vertically and lets the shaper
    // read advances from the font's tables instead of hinting every glyph:
    // a presence line with its dozens of marks renders in half the time.
    std::string looked_for;
    TTF_Font *f = open_chain(base_dir, FONT_SMALL_ASSET, FONT_SMALL_PATHS,
                             std::size(FONT_SMALL_PATHS), 14, TTF_HINTING_LIGHT, true, &looked_for);
    if (!f)
        std::fprintf(stderr,
                     "Drevix Raycaster: no font for the readout and the chat, which are left "
                     "out; looked for %s\n",
                     looked_for.c_str());
    return f;
}

TTF_Font *open_bold_font(const char *base_dir, int size, TTF_Font *fallback) {
    std::string looked_for;
    if (TTF_Font *f =
            open_chain(base_dir, FONT_BOLD_ASSET, FONT_BOLD_PATHS, std::size(FONT_BOLD_PATHS), size,
                       TTF_HINTING_NORMAL, false, &looked_for))
        return f;
    if (!fallback && !bold_missing_said)
        std::fprintf(stderr,
                     "Drevix Raycaster: no font for the title, which is left out; looked for %s\n",
                     looked_for.c_str());
    bold_missing_said = bold_missing_said || !fallback;
    return fallback;
}
