#include "gl_env.h"
#include "textures.h"

#include <SDL2/SDL_image.h>
#include <SDL2/SDL_ttf.h>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

SDL_GLContext ctx;
std::string dir;

class GlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        IMG_Init(IMG_INIT_PNG);
        TTF_Init();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        win = SDL_CreateWindow("gl test", 0, 0, 960, 600,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
        ASSERT_NE(win, nullptr) << SDL_GetError();
        ctx = SDL_GL_CreateContext(win);
        ASSERT_NE(ctx, nullptr) << SDL_GetError();
        char tmpl[] = "/tmp/raycaster-gl-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        SDL_GL_DeleteContext(ctx);
        SDL_DestroyWindow(win);
        TTF_Quit();
        IMG_Quit();
        // SDL_Quit is left out on purpose: it unloads the GL driver, and the
        // leak checker can no longer tell the driver's own leftovers by name.
        std::system(("rm -rf '" + dir + "'").c_str());
    }
};

const auto *env = ::testing::AddGlobalTestEnvironment(new GlEnvironment);

} // namespace

std::string temp_dir() {
    return dir;
}

static Rgba read_from(GLenum buffer, int x, int y) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(win, &w, &h);
    unsigned char p[4] = {};
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

Rgba read_pixel(int x, int y) {
    return read_from(GL_BACK, x, y);
}

int luminance(const Rgba &c) {
    return (c.r * 30 + c.g * 59 + c.b * 11) / 100;
}

void resize_window(int w, int h) {
    SDL_SetWindowSize(win, w, h);
    for (int i = 0; i < 200; i++) {
        SDL_PumpEvents();
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(win, &dw, &dh);
        if (dw == w && dh == h) {
            SDL_GL_SwapWindow(win); // the GL buffers follow the window at a swap
            return;
        }
        SDL_Delay(10);
    }
    ADD_FAILURE() << "window did not reach " << w << "x" << h;
}

uint32_t texture_from_pixels(int w, int h, const uint32_t *argb) {
    static int serial = 0;
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; y++)
        std::memcpy(static_cast<char *>(s->pixels) + y * s->pitch, argb + y * w, 4 * w);
    std::string path = dir + "/tex" + std::to_string(serial++) + ".png";
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return load_gl_tex(path.c_str());
}

uint32_t solid_texture(uint32_t argb) {
    std::vector<uint32_t> px(4, argb);
    return texture_from_pixels(2, 2, px.data());
}
