#include "fresh_world.h"
#include "light.h"

#include <cmath>
#include <vector>

namespace {

using Light = FreshWorld;

TEST_F(Light, SpawnDiscIsAlwaysLit) {
    EXPECT_EQ(cell_light_level(0, 0), 1.0f); // squared distance 8
    EXPECT_EQ(cell_light_level(6, 2), 1.0f); // 16
    // (7, 2) lies exactly on the disc's edge (25): not inside, so the blocks
    // decide; block (1, 0) at (6, 2) is not dark and neither is any other in reach.
    EXPECT_EQ(dark_block(1, 0), 0);
}

TEST_F(Light, DarkBlockHashExamples) {
    EXPECT_EQ(dark_block(0, 0), 0); // 0xCAFE % 100 = 66
    EXPECT_EQ(dark_block(3, 0), 1); // 221517801 % 100 = 1
    int dark = 0;
    for (int by = -100; by < 100; by++)
        for (int bx = -100; bx < 100; bx++) dark += dark_block(bx, by);
    EXPECT_NEAR(dark / 40000.0, 0.12, 0.01);
}

TEST_F(Light, DarknessFallsOffFromTheBlockCentre) {
    // Dark block (3, 0) has its centre at (14, 2).
    float darkest = cell_light_level(13, 1);
    EXPECT_NEAR(darkest, 0.20203f, 1e-5);
    EXPECT_EQ(darkest, 1.0f - float(1.0 - std::sqrt(0.5) / 3.5));
    EXPECT_NEAR(cell_light_level(12, 2), 0.45175f, 1e-5);
    // All four cells around the centre are equally dark.
    EXPECT_EQ(cell_light_level(14, 1), darkest);
    EXPECT_EQ(cell_light_level(13, 2), darkest);
    EXPECT_EQ(cell_light_level(14, 2), darkest);
    // Reach ends at 3.5: cell (10, 4), centre (10.5, 4.5), is 4.30 from (14, 2)
    // and the only dark block in its 3x3 neighbourhood is (3, 0).
    for (int by = -1; by <= 1; by++)
        for (int bx = 1; bx <= 3; bx++) {
            if (bx != 3 || by != 0) {
                ASSERT_EQ(dark_block(bx, by), 0) << bx << "," << by;
            }
        }
    EXPECT_EQ(cell_light_level(10, 4), 1.0f);
}

TEST_F(Light, FlashlightLiftsDarknessAhead) {
    px = 12.5;
    py = 1.5;
    pa = 0.0;
    flash_spring = 1.0;
    float lifted = cell_light_level(13, 1); // straight ahead, 1.0 away
    EXPECT_NEAR(lifted, 0.53452f, 1e-5);
    float base = 1.0f - float(1.0 - std::sqrt(0.5) / 3.5);
    float f1 = float(1.0 - 1.0 / 6.0) * 0.5f;
    EXPECT_EQ(lifted, base + (1.0f - base) * (f1 * 1.0f));

    pa = 3.14159265358979; // pointing away
    EXPECT_EQ(cell_light_level(13, 1), base);
    pa = 0.0;
    flash_spring = 0.5; // not above the threshold
    EXPECT_EQ(cell_light_level(13, 1), base);
    flash_spring = 1.0;
    px = 13.5; // standing on the cell centre: too close to lift
    EXPECT_EQ(cell_light_level(13, 1), base);
    EXPECT_GT(cell_light_level(14, 1), base); // the next cell ahead is lifted
}

TEST_F(Light, FlashlightNeverTouchesLitCells) {
    px = 40.5;
    py = 40.5;
    flash_spring = 1.4;
    for (int y = 30; y < 50; y++)
        for (int x = 30; x < 50; x++) {
            float level = cell_light_level(x, y);
            flash_spring = 0.0;
            float off = cell_light_level(x, y);
            flash_spring = 1.4;
            if (off == 1.0f) {
                EXPECT_EQ(level, 1.0f);
            }
            EXPECT_GE(level, off);
            EXPECT_GE(off, 0.2020f);
            EXPECT_LE(level, 1.0f);
        }
}

TEST_F(Light, NegativeCellsUseTheSameBlockGrid) {
    // Cell (-1, -1) sits in block (-1, -1), centre (-2, -2): find a dark block
    // on the negative side and check its four central cells.
    for (int by = -30; by < 0; by++)
        for (int bx = -30; bx < 0; bx++) {
            if (!dark_block(bx, by)) continue;
            int cx = 4 * bx + 2, cy = 4 * by + 2; // the centre is a cell corner
            float l = cell_light_level(cx - 1, cy - 1);
            EXPECT_LT(l, 0.21f) << bx << "," << by;
            EXPECT_EQ(cell_light_level(cx, cy), l);
            EXPECT_EQ(cell_light_level(cx - 1, cy), l);
            return;
        }
    FAIL() << "no dark block found";
}

TEST_F(Light, ResultDoesNotDependOnCallOrder) {
    std::vector<float> a, b;
    for (int x = -50; x < 50; x++) a.push_back(cell_light_level(x, 3 * x));
    for (int x = 49; x >= -50; x--) b.insert(b.begin(), cell_light_level(x, 3 * x));
    EXPECT_EQ(a, b);
}

} // namespace
