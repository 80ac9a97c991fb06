#include "fonts.h"
#include "asset_file.h"
#include "embedded.h"
#include "paths.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

TTF_Font *open_file(const std::string &path, int size) {
    SDL_RWops *file = open_optional_asset_file(path.c_str());
    return file ? TTF_OpenFontRW(file, 1, size) : nullptr;
}

TTF_Font *open_first(const char *const *paths, size_t count, int size) {
    for (size_t i = 0; i < count; i++)
        if (TTF_Font *f = open_file(paths[i], size)) return f;
    return nullptr;
}

TTF_Font *open_asset(const char *base_dir, const char *format, int size) {
    if (TTF_Font *f = open_file(asset_path(base_dir, format), size)) return f;
    SDL_RWops *copy = embedded_asset(format);
    return copy ? TTF_OpenFontRW(copy, 1, size) : nullptr;
}

} // namespace

TTF_Font *open_small_font(const char *base_dir) {
    TTF_Font *f = open_asset(base_dir, FONT_SMALL_ASSET, 14);
    if (!f) f = open_first(FONT_SMALL_PATHS, std::size(FONT_SMALL_PATHS), 14);
    // Light hinting keeps the glyphs crisp vertically and lets the shaper
    // read advances from the font's tables instead of hinting every glyph:
    // a presence line with its dozens of marks renders in half the time.
    if (f) TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    return f;
}

TTF_Font *open_bold_font(const char *base_dir, int size, TTF_Font *fallback) {
    if (TTF_Font *f = open_asset(base_dir, FONT_BOLD_ASSET, size)) return f;
    if (TTF_Font *f = open_first(FONT_BOLD_PATHS, std::size(FONT_BOLD_PATHS), size)) return f;
    return fallback;
}
