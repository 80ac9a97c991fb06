#include "screenshot.h"
#include "user_files.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <ctime>

std::string screenshot_name(long long when) {
    std::time_t t = static_cast<std::time_t>(when);
    char stamp[32] = "00000000-000000";
    if (const std::tm *local = std::localtime(&t))
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
    return std::string("drevix-raycaster-") + stamp + ".png";
}

// The PNG's bytes; empty when it cannot be encoded. Stored rows cost more
// room than deflated ones never do by much, so the buffer holds the worst.
static std::string encode_png(const std::vector<unsigned char> &rgb, int w, int h,
                              std::string *why) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char *>(rgb.data()), w,
                                                        h, 24, w * 3, SDL_PIXELFORMAT_RGB24);
    std::string out(rgb.size() + rgb.size() / 8 + 65536, '\0');
    SDL_RWops *rw = s ? SDL_RWFromMem(out.data(), static_cast<int>(out.size())) : nullptr;
    bool ok = rw && IMG_SavePNG_RW(s, rw, 0) == 0;
    Sint64 size = rw ? SDL_RWtell(rw) : 0;
    if (rw) SDL_RWclose(rw);
    if (s) SDL_FreeSurface(s);
    if (!ok || size <= 0) {
        *why = std::string("cannot encode the picture (") + SDL_GetError() + ")";
        return "";
    }
    out.resize(static_cast<size_t>(size));
    return out;
}

int save_screenshot(const std::vector<unsigned char> &rgb, int w, int h, const std::string &folder,
                    std::string *name, std::string *why) {
    std::string png = encode_png(rgb, w, h, why);
    if (png.empty()) return 0;
    std::string base = screenshot_name(static_cast<long long>(std::time(nullptr)));
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    for (int n = 1; n < 100; n++) {
        *name = n == 1 ? base : base.substr(0, base.size() - 4) + "-" + std::to_string(n) + ".png";
        std::string path = folder + sep + *name, text, error;
        int missing = 0;
        int found = read_user_file(path, 0, &text, &missing, &error);
        if (found) continue;                      // never over an earlier picture
        return replace_user_file(path, png, why); // whole or not at all
    }
    *why = "too many pictures this second";
    return 0;
}
