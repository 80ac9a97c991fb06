// Window icon and cursor: real ICO and CUR files with a BMP inside, which is
// what SDL_image reads, with alpha, and the arrow's tip at the hot spot.
#include "pixels.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::vector<uint8_t> read_bytes(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t u16(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t u32(const std::vector<uint8_t> &b, size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

// Checks the directory and the one image's DIB header; returns the image size.
int check_directory(const std::vector<uint8_t> &b, uint32_t type) {
    EXPECT_GE(b.size(), 6u + 16u + 40u);
    if (b.size() < 62) return 0;
    EXPECT_EQ(u16(b, 0), 0u);
    EXPECT_EQ(u16(b, 2), type);
    EXPECT_EQ(u16(b, 4), 1u);
    int size = b[6];
    EXPECT_EQ(b[7], size);
    uint32_t bytes = u32(b, 14), offset = u32(b, 18);
    EXPECT_EQ(offset + bytes, b.size());
    // A BITMAPINFOHEADER (not a PNG signature), twice the height for the mask, 32 bits.
    EXPECT_EQ(u32(b, offset), 40u);
    EXPECT_EQ(static_cast<int>(u32(b, offset + 4)), size);
    EXPECT_EQ(static_cast<int>(u32(b, offset + 8)), 2 * size);
    EXPECT_EQ(u16(b, offset + 14), 32u);
    EXPECT_EQ(u32(b, offset + 16), 0u);
    return size;
}

TEST(WindowIcon, IsAnIcoWithA32BitBmpInside) {
    std::vector<uint8_t> b = read_bytes(asset_path("images/icons/icon.ico"));
    int size = check_directory(b, 1);
    EXPECT_TRUE(size == 32 || size == 64) << size;
    EXPECT_EQ(u16(b, 10), 1u);  // planes
    EXPECT_EQ(u16(b, 12), 32u); // bits per pixel
}

TEST(WindowIcon, LoadsWithRoundedTransparentCorners) {
    Pixels p = load_pixels(asset_path("images/icons/icon.ico"));
    ASSERT_GT(p.w, 0) << SDL_GetError();
    EXPECT_EQ(p.w, p.h);
    EXPECT_EQ(texel(p, 0, 0)[3], 0);
    EXPECT_EQ(texel(p, p.w - 1, p.h - 1)[3], 0);
    EXPECT_EQ(texel(p, p.w / 2, p.h / 2)[3], 255);
    EXPECT_EQ(texel(p, p.w / 2, 2)[3], 255);
}

TEST(Cursor, IsACurWithTheHotSpotAtTheTopLeft) {
    std::vector<uint8_t> b = read_bytes(asset_path("images/icons/cursors/arrow.cur"));
    EXPECT_EQ(check_directory(b, 2), 32);
    EXPECT_EQ(u16(b, 10), 0u); // hot spot x
    EXPECT_EQ(u16(b, 12), 0u); // hot spot y
}

TEST(Cursor, LoadsAsAnArrowPointingAtItsHotSpot) {
    Pixels p = load_pixels(asset_path("images/icons/cursors/arrow.cur"));
    ASSERT_EQ(p.w, 32) << SDL_GetError();
    ASSERT_EQ(p.h, 32);
    // The tip is the top-left pixel, solid and dark (the outline).
    EXPECT_EQ(texel(p, 0, 0)[3], 255);
    EXPECT_LT(luminance(p, 0, 0), 60);
    // The body lies down and to the right of it: a white fill, and the
    // opposite corner stays clear.
    double sx = 0, sy = 0, count = 0;
    int white = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (texel(p, x, y)[3] > 128) {
                sx += x, sy += y, ++count;
                white += luminance(p, x, y) > 200;
            }
    ASSERT_GT(count, 60);
    EXPECT_LT(sx / count, 12);
    EXPECT_LT(sy / count, 16);
    EXPECT_GT(sy / count, sx / count); // taller than wide, like an arrow
    EXPECT_GT(white, 40);
    EXPECT_EQ(texel(p, 31, 0)[3], 0);
    EXPECT_EQ(texel(p, 31, 31)[3], 0);
    EXPECT_EQ(texel(p, 0, 31)[3], 0);
}

} // namespace
