// A real window and GL context for drawing tests, plus pixel helpers. Runs
// under xvfb-run with Mesa's software GL.
#pragma once

#include "scene.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <gtest/gtest.h>
#include <string>

struct Rgba {
    int r, g, b, a;
};

// Reads one pixel of the back buffer, x from the left and y from the TOP.
Rgba read_pixel(int x, int y);
int luminance(const Rgba &c);
// Resizes the test window and waits until the drawable follows.
void resize_window(int w, int h);
// A scene texture from a w x h RGBA pixel list, through a real PNG file.
uint32_t texture_from_pixels(int w, int h, const uint32_t *argb);
uint32_t solid_texture(uint32_t argb);
std::string temp_dir();
