// Image loading and texture statistics for the asset tests.
#include "pixels.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

std::string asset_path(const std::string &relative) {
    return std::string(ASSET_DIR) + "/" + relative;
}

Pixels load_pixels(const std::string &path) {
    Pixels out;
    SDL_Surface *loaded = IMG_Load(path.c_str());
    if (!loaded) return out;
    SDL_Surface *rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) return out;
    out.w = rgba->w;
    out.h = rgba->h;
    out.rgba.resize(static_cast<size_t>(out.w) * out.h * 4);
    for (int y = 0; y < out.h; ++y)
        std::memcpy(&out.rgba[static_cast<size_t>(y) * out.w * 4],
                    static_cast<uint8_t *>(rgba->pixels) + y * rgba->pitch, out.w * 4);
    SDL_FreeSurface(rgba);
    return out;
}

const uint8_t *texel(const Pixels &p, int x, int y) {
    x = ((x % p.w) + p.w) % p.w;
    y = ((y % p.h) + p.h) % p.h;
    return &p.rgba[(static_cast<size_t>(y) * p.w + x) * 4];
}

double luminance(const Pixels &p, int x, int y) {
    const uint8_t *t = texel(p, x, y);
    return 0.299 * t[0] + 0.587 * t[1] + 0.114 * t[2];
}

Pixels flipped_rows(const Pixels &p) {
    Pixels out = p;
    for (int y = 0; y < p.h; ++y)
        std::memcpy(&out.rgba[static_cast<size_t>(p.h - 1 - y) * p.w * 4],
                    &p.rgba[static_cast<size_t>(y) * p.w * 4], p.w * 4);
    return out;
}

static double texel_distance(const uint8_t *a, const uint8_t *b) {
    return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
}

double column_distance(const Pixels &p, int a, int b) {
    double sum = 0;
    for (int y = 0; y < p.h; ++y) sum += texel_distance(texel(p, a, y), texel(p, b, y));
    return sum / p.h;
}

double row_distance(const Pixels &p, int a, int b) {
    double sum = 0;
    for (int x = 0; x < p.w; ++x) sum += texel_distance(texel(p, x, a), texel(p, x, b));
    return sum / p.w;
}

static double percentile_75(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() * 3 / 4];
}

double cut_ratio_x(const Pixels &p, int left, int right) {
    std::vector<double> inner;
    for (int x = 0; x + 1 < p.w; ++x) inner.push_back(column_distance(p, x, x + 1));
    return column_distance(p, left, right) / std::max(1.0, percentile_75(inner));
}

double seam_ratio_x(const Pixels &p) {
    return cut_ratio_x(p, p.w - 1, 0);
}

double seam_ratio_y(const Pixels &p) {
    std::vector<double> inner;
    for (int y = 0; y + 1 < p.h; ++y) inner.push_back(row_distance(p, y, y + 1));
    return row_distance(p, p.h - 1, 0) / std::max(1.0, percentile_75(inner));
}

double mean_difference(const Pixels &a, const Pixels &b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) sum += texel_distance(&a.rgba[i], &b.rgba[i]);
    return sum / (a.rgba.size() / 4);
}
