#include "paths.h"

#include <gtest/gtest.h>

namespace {

TEST(BaseDir, IsTheParentOfTheExecutablesFolder) {
    EXPECT_EQ(base_dir_from_exe("/opt/game/build/raycaster"), "/opt/game");
    EXPECT_EQ(base_dir_from_exe("/a/raycaster"), "") << "assets then come from /assets";
    EXPECT_EQ(base_dir_from_exe("/raycaster"), ".") << "only one cut: stays relative";
    EXPECT_EQ(base_dir_from_exe("raycaster"), ".");
    EXPECT_EQ(base_dir_from_exe(""), ".") << "the program's path could not be read";
}

TEST(BaseDir, WindowsModulePathsCutAtBackslashes) {
    EXPECT_EQ(base_dir_from_exe("C:\\Users\\me\\Desktop\\Drevix Raycaster.exe", '\\'),
              "C:\\Users\\me");
    EXPECT_EQ(base_dir_from_exe("C:\\raycaster.exe", '\\'), ".");
}

TEST(BaseDir, OfThePortableArchiveIsTheProgramsOwnFolder) {
    EXPECT_EQ(program_dir_from_exe("/home/me/My Games/drevix-raycaster-1.0.0/drevix-raycaster"),
              "/home/me/My Games/drevix-raycaster-1.0.0");
    EXPECT_EQ(program_dir_from_exe("/drevix-raycaster"), "") << "assets then come from /assets";
    EXPECT_EQ(program_dir_from_exe(""), ".") << "the program's path could not be read";
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
    EXPECT_EQ(asset_path(base_dir_from_exe("/opt/game/build/raycaster"), ASSET_WALL),
              "/opt/game/assets/images/rooms/level_0/wall_brick.png");
}

} // namespace
