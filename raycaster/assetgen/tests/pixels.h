// Test helpers: images loaded through SDL_image, as the game loads them, and
// the statistics the texture tests compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Pixels {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba; // row-major, 4 bytes a pixel, row 0 first
};

// Loads with IMG_Load and converts to RGBA bytes; w == 0 when loading fails.
Pixels load_pixels(const std::string &path);
std::string asset_path(const std::string &relative);

const uint8_t *texel(const Pixels &p, int x, int y); // wraps
double luminance(const Pixels &p, int x, int y);     // 0..255
Pixels flipped_rows(const Pixels &p);

// Mean colour distance between column a and column b (or rows).
double column_distance(const Pixels &p, int a, int b);
double row_distance(const Pixels &p, int a, int b);
// A seam shows where the image meets its own copy: the step from the last
// column (row) to the first, against the steps between neighbours inside.
// Returns that step divided by the 75th percentile of the inner steps.
double seam_ratio_x(const Pixels &p);
double seam_ratio_y(const Pixels &p);
// The same ratio for a cut between two arbitrary columns, for comparison.
double cut_ratio_x(const Pixels &p, int left, int right);
// Mean absolute difference per channel, 0..255, of two equal-sized images.
double mean_difference(const Pixels &a, const Pixels &b);
