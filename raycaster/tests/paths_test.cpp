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

TEST(BaseDir, AssetPathsFollowIt) {
    char path[ASSET_PATH_BYTES];
    std::snprintf(path, sizeof path, ASSET_WALL, base_for("/opt/game/build/raycaster").c_str());
    EXPECT_STREQ(path, "/opt/game/assets/images/rooms/level_0/wall_brick.png");
}

} // namespace
