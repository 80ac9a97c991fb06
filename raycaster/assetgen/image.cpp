// Image storage and colour arithmetic shared by the generators.
#include "image.h"

#include <algorithm>
#include <cmath>

Image image_make(int w, int h, Rgba fill) {
    Image img;
    img.w = w;
    img.h = h;
    img.px.assign(static_cast<size_t>(w) * h, fill);
    return img;
}

Rgba &pixel(Image &img, int x, int y) {
    return img.px[static_cast<size_t>(y) * img.w + x];
}

const Rgba &pixel(const Image &img, int x, int y) {
    return img.px[static_cast<size_t>(y) * img.w + x];
}

static int wrap(int v, int n) {
    return ((v % n) + n) % n;
}

const Rgba &pixel_wrap(const Image &img, int x, int y) {
    return pixel(img, wrap(x, img.w), wrap(y, img.h));
}

Rgba sample_wrap(const Image &img, float x, float y) {
    float fx = x - 0.5f, fy = y - 0.5f;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    Rgba top = mix(pixel_wrap(img, x0, y0), pixel_wrap(img, x0 + 1, y0), tx);
    Rgba bottom = mix(pixel_wrap(img, x0, y0 + 1), pixel_wrap(img, x0 + 1, y0 + 1), tx);
    return mix(top, bottom, ty);
}

Image flip_rows(const Image &img) {
    Image out = img;
    for (int y = 0; y < img.h; ++y)
        std::copy_n(&pixel(img, 0, y), img.w, &pixel(out, 0, img.h - 1 - y));
    return out;
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float smoothstep(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

Rgba mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba scale(Rgba c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

Rgba rgb(float r, float g, float b) {
    return {r, g, b, 1.0f};
}
