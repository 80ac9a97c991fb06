// The asset folder after a build: every file the game loads is there, and
// the fonts are Debian's DejaVu and Noto ones, unchanged, each with its
// licence beside it.
#include "pixels.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

std::string read_all(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(AssetFolder, HoldsEveryFileTheGameLoads) {
    const char *files[] = {
        "images/rooms/level_0/wall_brick.png",
        "images/rooms/level_0/wall_brick_secret.png",
        "images/rooms/level_0/wall_brick_secret_door0.png",
        "images/rooms/level_0/wall_brick_secret_door80.png",
        "images/rooms/level_0/floor_.png",
        "images/rooms/level_0/ceiling_.png",
        "images/bgimage.png",
        "images/icons/icon.ico",
        "images/icons/cursors/arrow.cur",
        "sounds/step5.wav",
        "sounds/bgmusic.mp3",
        "fonts/SourceCodePro-Bold.ttf",
        "fonts/LICENSE-DejaVu.txt",
        "fonts/NotoSansMono-Regular.ttf",
        "fonts/LICENSE-Noto.txt",
    };
    for (const char *f : files) {
        std::error_code ec;
        EXPECT_GT(std::filesystem::file_size(asset_path(f), ec), 0u) << f;
        EXPECT_FALSE(ec) << f << ": " << ec.message();
    }
}

TEST(Font, AreUnchangedCopiesWithTheirLicences) {
    struct Copy {
        const char *asset, *source, *licence, *licence_source, *licence_says;
    } copies[] = {
        {"fonts/SourceCodePro-Bold.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
         "fonts/LICENSE-DejaVu.txt", "/usr/share/doc/fonts-dejavu-core/copyright", "Bitstream"},
        {"fonts/NotoSansMono-Regular.ttf",
         "/usr/share/fonts/truetype/noto/NotoSansMono-Regular.ttf", "fonts/LICENSE-Noto.txt",
         "/usr/share/doc/fonts-noto-mono/copyright", "SIL Open Font"},
    };
    for (const Copy &c : copies) {
        std::string copy = read_all(asset_path(c.asset));
        ASSERT_FALSE(copy.empty()) << c.asset;
        EXPECT_TRUE(copy == read_all(c.source)) << c.asset;
        std::string licence = read_all(asset_path(c.licence));
        EXPECT_EQ(licence, read_all(c.licence_source));
        EXPECT_NE(licence.find(c.licence_says), std::string::npos) << c.licence;
    }
}

TEST(Font, OpensAndRendersWithSdlTtf) {
    ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    for (int points : {18, 28}) {
        TTF_Font *font = TTF_OpenFont(asset_path("fonts/SourceCodePro-Bold.ttf").c_str(), points);
        ASSERT_NE(font, nullptr) << TTF_GetError();
        EXPECT_STREQ(TTF_FontFaceFamilyName(font), "DejaVu Sans Mono");
        EXPECT_STREQ(TTF_FontFaceStyleName(font), "Bold");
        EXPECT_TRUE(TTF_FontFaceIsFixedWidth(font));
        SDL_Surface *text =
            TTF_RenderUTF8_Blended(font, "press anywhere to play", {120, 190, 255, 255});
        ASSERT_NE(text, nullptr) << TTF_GetError();
        EXPECT_GT(text->w, points * 8);
        SDL_FreeSurface(text);
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

} // namespace
