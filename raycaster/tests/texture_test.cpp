// Texture upload: formats, filtering and wrapping, seen through real drawing.
#include "gl_env.h"
#include "textures.h"

#include <SDL2/SDL_image.h>
#include <vector>

namespace {

// Draws texture `tex` over the whole 960x600 viewport with s from 0 to
// s_max and t from 0 to 1.
void draw_textured(uint32_t tex, float s_max) {
    glViewport(0, 0, 960, 600);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 960, 600, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, tex);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(s_max, 0);
    glVertex2f(960, 0);
    glTexCoord2f(s_max, 1);
    glVertex2f(960, 600);
    glTexCoord2f(0, 1);
    glVertex2f(0, 600);
    glEnd();
}

std::vector<unsigned char> texels(uint32_t tex, int *w, int *h) {
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    std::vector<unsigned char> px(4 * *w * *h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

TEST(Textures, MissingFilePrintsOneLineAndGivesZero) {
    testing::internal::CaptureStderr();
    uint32_t tex = load_gl_tex("/nonexistent/wall.png");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(tex, 0u);
    EXPECT_EQ(err.rfind("Failed: /nonexistent/wall.png (", 0), 0u) << err;
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_GT(err.size(), std::string("Failed: /nonexistent/wall.png ()\n").size());
}

TEST(Textures, ImagesLargerThanGlTakesAreScaledDownToFit) {
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    ASSERT_LT(max, 20000);
    std::vector<uint32_t> argb(20000 * 64, 0xFFFF0000); // red, its right half blue
    for (size_t i = 0; i < argb.size(); i++)
        if (i % 20000 >= 10000) argb[i] = 0xFF0000FF;
    testing::internal::CaptureStderr();
    int w, h;
    auto px = texels(texture_from_pixels(20000, 64, argb.data()), &w, &h);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(w, max);
    EXPECT_EQ(h, 64 * max / 20000);
    EXPECT_EQ((std::vector<unsigned char>(px.begin(), px.begin() + 4)),
              (std::vector<unsigned char>{255, 0, 0, 255}));
    EXPECT_EQ((std::vector<unsigned char>(px.end() - 4, px.end())),
              (std::vector<unsigned char>{0, 0, 255, 255}));
    EXPECT_NE(err.find(" is 20000x64 pixels"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST(Textures, ChannelsArriveInOrderAndOpaqueWithoutAlpha) {
    // Four colours: red, green, blue, and half-transparent white.
    const uint32_t argb[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF};
    int w, h;
    auto px = texels(texture_from_pixels(2, 2, argb), &w, &h);
    ASSERT_EQ(w, 2);
    EXPECT_EQ(std::vector<unsigned char>(px.begin(), px.begin() + 4),
              (std::vector<unsigned char>{255, 0, 0, 255}));
    EXPECT_EQ(px[5], 255);   // green
    EXPECT_EQ(px[10], 255);  // blue
    EXPECT_EQ(px[15], 0x80); // alpha kept

    // An RGB file and a palette file have no alpha: they come out opaque.
    SDL_Surface *rgb = SDL_CreateRGBSurfaceWithFormat(0, 3, 1, 24, SDL_PIXELFORMAT_RGB24);
    unsigned char *p = static_cast<unsigned char *>(rgb->pixels);
    p[0] = 10, p[1] = 20, p[2] = 30, p[3] = 200, p[4] = 100, p[5] = 0;
    std::string rgb_path = temp_dir() + "/rgb.png";
    IMG_SavePNG(rgb, rgb_path.c_str());
    SDL_FreeSurface(rgb);
    px = texels(load_gl_tex(rgb_path.c_str()), &w, &h);
    ASSERT_EQ(w, 3);
    EXPECT_EQ((std::vector<unsigned char>(px.begin(), px.begin() + 8)),
              (std::vector<unsigned char>{10, 20, 30, 255, 200, 100, 0, 255}));

    SDL_Surface *pal = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_Color colors[2] = {{250, 5, 6, 255}, {7, 8, 240, 255}};
    SDL_SetPaletteColors(pal->format->palette, colors, 0, 2);
    static_cast<unsigned char *>(pal->pixels)[0] = 1;
    static_cast<unsigned char *>(pal->pixels)[1] = 0;
    std::string pal_path = temp_dir() + "/pal.bmp";
    SDL_SaveBMP(pal, pal_path.c_str());
    SDL_FreeSurface(pal);
    px = texels(load_gl_tex(pal_path.c_str()), &w, &h);
    ASSERT_EQ(w, 2);
    EXPECT_EQ((std::vector<unsigned char>(px.begin(), px.end())),
              (std::vector<unsigned char>{7, 8, 240, 255, 250, 5, 6, 255}));
}

TEST(Textures, SceneTexturesTileWithHardEdges) {
    const uint32_t argb[] = {0xFFFF0000, 0xFF0000FF}; // red | blue
    uint32_t tex = texture_from_pixels(2, 1, argb);
    draw_textured(tex, 4.0f); // four repeats: eight bands of 120 pixels
    for (int band = 0; band < 8; band++) {
        Rgba mid = read_pixel(band * 120 + 60, 300);
        bool red = band % 2 == 0;
        EXPECT_EQ(mid.r, red ? 255 : 0) << "band " << band;
        EXPECT_EQ(mid.b, red ? 0 : 255) << "band " << band;
    }
    // Nearest filtering: no blend across a band edge.
    Rgba left = read_pixel(119, 300), right = read_pixel(120, 300);
    EXPECT_EQ(left.r, 255);
    EXPECT_EQ(right.b, 255);
}

TEST(Textures, TextTexturesClampAndBlend) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    static_cast<uint32_t *>(s->pixels)[0] = 0xFFFF0000;
    static_cast<uint32_t *>(s->pixels)[1] = 0xFF0000FF;
    uint32_t tex = surf_to_gl(s);
    EXPECT_EQ(static_cast<uint32_t *>(s->pixels)[0], 0xFFFF0000u) << "caller's surface untouched";
    SDL_FreeSurface(s);
    ASSERT_NE(tex, 0u);
    draw_textured(tex, 4.0f);
    // Past s = 1 the edge texel repeats: everything right of x 240 is blue.
    EXPECT_EQ(read_pixel(600, 300).b, 255);
    EXPECT_EQ(read_pixel(600, 300).r, 0);
    EXPECT_EQ(read_pixel(900, 300).b, 255);
    // Linear filtering: at s = 0.5 the two texels mix.
    Rgba mid = read_pixel(120, 300);
    EXPECT_GT(mid.r, 60);
    EXPECT_GT(mid.b, 60);
}

} // namespace
