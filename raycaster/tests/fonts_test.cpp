// The fonts as the game opens them: the small one must draw every
// combining mark the presence's names are made of.
#include "exe_path.h"
#include "fonts.h"
#include "paths.h"

#include <gtest/gtest.h>

namespace {

std::string build_dir() {
    std::string why;
    return base_dir_from_exe(read_exe_path(&why));
}

void expect_every_mark(TTF_Font *font, const char *which) {
    ASSERT_NE(font, nullptr) << which;
    int missing = 0;
    for (Uint32 cp = 0x300; cp <= 0x36F; cp++) missing += !TTF_GlyphIsProvided32(font, cp);
    for (Uint32 cp = 0x20; cp <= 0x7E; cp++) missing += !TTF_GlyphIsProvided32(font, cp);
    EXPECT_EQ(missing, 0) << which;
    EXPECT_TRUE(TTF_FontFaceIsFixedWidth(font)) << which;
}

TEST(Fonts, TheSmallFontDrawsEveryCombiningMark) {
    // The game's own copy under the base folder comes first.
    TTF_Font *own = open_small_font(build_dir().c_str());
    expect_every_mark(own, "the game's copy");
    EXPECT_STREQ(TTF_FontFaceFamilyName(own), "Noto Sans Mono");
    TTF_CloseFont(own);
    // Without the asset folder, the system's copy of the same font.
    TTF_Font *system = open_small_font("/nonexistent");
    expect_every_mark(system, "the system's copy");
    TTF_CloseFont(system);
}

TEST(Fonts, TheBoldFontIsTheGamesOwnOrTheFallback) {
    TTF_Font *small = open_small_font(build_dir().c_str());
    TTF_Font *bold = open_bold_font(build_dir().c_str(), 18, small);
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(bold, small);
    EXPECT_STREQ(TTF_FontFaceStyleName(bold), "Bold");
    TTF_CloseFont(bold);
    TTF_CloseFont(small);
}

} // namespace
