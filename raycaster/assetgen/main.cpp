// The asset generator: writes every image, icon, cursor and sound the game
// loads under the asset folder given as the first argument, and the music as
// a WAV file at the second (the build encodes it to MP3). With a third, it
// also writes the application icon for the desktop's icon theme there
// (hicolor layout: SIZExSIZE/apps/drevix-raycaster.png). Output depends on
// nothing but this code, so every build makes the same bytes.
#include "backdrop.h"
#include "config.h"
#include "doors.h"
#include "footstep.h"
#include "ico_write.h"
#include "icons.h"
#include "music.h"
#include "png_write.h"
#include "surfaces.h"
#include "walls.h"
#include "wav_write.h"

#include <cstdio>
#include <future>
#include <string>

static bool save(const std::string &path, const std::vector<uint8_t> &bytes) {
    if (write_file(path, bytes)) return true;
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}

static bool save_png(const std::string &path, const Image &img) {
    return save(path, png_encode(img, false));
}

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: assetgen ASSET_DIR MUSIC_WAV [ICON_THEME_DIR]\n");
        return 2;
    }
    const std::string assets = argv[1], music_wav = argv[2];
    const std::string rooms = assets + "/images/rooms/level_0/";

    // The two slow pieces run beside the rest.
    auto music = std::async(std::launch::async, music_loop);
    const Image wall = brick_wall(), floor = floor_tiles(), ceiling = ceiling_panels();
    auto title = std::async(std::launch::async, backdrop, wall, floor, ceiling);

    bool ok = true;
    // The game draws the plain wall with the image's first row at the floor,
    // the secret and door faces with it at the top.
    ok &= save_png(rooms + "wall_brick.png", flip_rows(wall));
    ok &= save_png(rooms + "wall_brick_secret.png", secret_wall());
    ok &= save_png(rooms + "wall_brick_secret_door0.png", door_closed());
    ok &= save_png(rooms + "wall_brick_secret_door80.png", door_open());
    ok &= save_png(rooms + "floor_.png", floor);
    ok &= save_png(rooms + "ceiling_.png", ceiling);
    ok &=
        save(assets + "/images/icons/icon.ico", ico_encode(window_icon(ICON_SIZE), ICO_TYPE_ICON));
    ok &= save(assets + "/images/icons/cursors/arrow.cur",
               ico_encode(arrow_cursor(), ICO_TYPE_CURSOR, 0, 0));
    if (argc == 4)
        for (int size : THEME_ICON_SIZES) {
            const std::string dim = std::to_string(size);
            ok &= save(std::string(argv[3]) + "/" + dim + "x" + dim + "/apps/drevix-raycaster.png",
                       png_encode(window_icon(size), true));
        }
    ok &= save(assets + "/sounds/step5.wav", wav_encode(footstep(), 1, SAMPLE_RATE));
    ok &= save_png(assets + "/images/bgimage.png", title.get());
    ok &= save(music_wav, wav_encode(music.get(), 2, SAMPLE_RATE));
    return ok ? 0 : 1;
}
