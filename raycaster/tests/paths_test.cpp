#include "paths.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>

namespace {

std::string base_for(const char *exe) {
    char out[BASE_DIR_BYTES];
    base_dir_from_exe(exe, static_cast<long>(std::strlen(exe)), out);
    return out;
}

TEST(BaseDir, IsTheParentOfTheExecutablesFolder) {
    EXPECT_EQ(base_for("/opt/game/build/raycaster"), "/opt/game");
    EXPECT_EQ(base_for("/a/raycaster"), "") << "assets then come from /assets";
    EXPECT_EQ(base_for("/raycaster"), ".") << "only one cut: stays relative";
    EXPECT_EQ(base_for("raycaster"), ".");

    char out[BASE_DIR_BYTES];
    base_dir_from_exe("/x/y/z", -1, out); // readlink failed
    EXPECT_STREQ(out, ".");
    base_dir_from_exe("/opt/game/build/raycaster-and-more", 25, out); // not NUL-terminated
    EXPECT_STREQ(out, "/opt/game");
}

TEST(BaseDir, WindowsModulePathsCutAtBackslashes) {
    char out[BASE_DIR_BYTES];
    const char *exe = "C:\\Users\\me\\Desktop\\Drevix Raycaster.exe";
    base_dir_from_exe(exe, static_cast<long>(std::strlen(exe)), out, '\\');
    EXPECT_STREQ(out, "C:\\Users\\me");
    base_dir_from_exe("C:\\raycaster.exe", 16, out, '\\');
    EXPECT_STREQ(out, ".");
}

// The Windows build's resource script names its copies by the same rule.
TEST(EmbeddedAssetName, IsTheUpperCasedPathBelowAssets) {
    char name[ASSET_NAME_BYTES];
    embedded_asset_name(ASSET_WALL, name);
    EXPECT_STREQ(name, "IMAGES_ROOMS_LEVEL_0_WALL_BRICK_PNG");
    embedded_asset_name(FONT_BOLD_ASSET, name);
    EXPECT_STREQ(name, "FONTS_SOURCECODEPRO_BOLD_TTF");
    embedded_asset_name(ASSET_CURSOR_RELATIVE, name);
    EXPECT_STREQ(name, "") << "not a path under the base folder";
}

TEST(BaseDir, AssetPathsFollowIt) {
    char path[ASSET_PATH_BYTES];
    std::snprintf(path, sizeof path, ASSET_WALL, base_for("/opt/game/build/raycaster").c_str());
    EXPECT_STREQ(path, "/opt/game/assets/images/rooms/level_0/wall_brick.png");
}

} // namespace
