// In-memory RGBA image in linear 0..1 floats, the common currency of every
// image generator, and the few colour helpers they share.
#pragma once

#include <vector>

struct Rgba {
    float r, g, b, a;
};

struct Image {
    int w = 0, h = 0;
    std::vector<Rgba> px; // row-major, row 0 first
};

Image image_make(int w, int h, Rgba fill = {0, 0, 0, 1});
Rgba &pixel(Image &img, int x, int y);
const Rgba &pixel(const Image &img, int x, int y);
// Pixel at (x, y) taken modulo the image size: the view a tiling texture has.
const Rgba &pixel_wrap(const Image &img, int x, int y);
// Bilinear sample at continuous pixel coordinates, wrapping at the edges.
Rgba sample_wrap(const Image &img, float x, float y);
Image flip_rows(const Image &img);

float clamp01(float v);
float smoothstep(float e0, float e1, float v);
Rgba mix(Rgba a, Rgba b, float t);
Rgba scale(Rgba c, float k); // colour times k, alpha kept
Rgba rgb(float r, float g, float b);
