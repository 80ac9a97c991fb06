// The scene textures and the title backdrop as the game loads them: sizes,
// tiling, and that each face looks like what it stands for.
#include "pixels.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const std::string ROOMS = "images/rooms/level_0/";

struct Expected {
    std::string path;
    int w, h;
};

const Expected IMAGES[] = {
    {ROOMS + "wall_brick.png", 128, 128},
    {ROOMS + "wall_brick_secret.png", 128, 128},
    {ROOMS + "wall_brick_secret_door0.png", 128, 128},
    {ROOMS + "wall_brick_secret_door80.png", 128, 128},
    {ROOMS + "floor_.png", 64, 64},
    {ROOMS + "ceiling_.png", 128, 128},
    {"images/bgimage.png", 960, 600},
};

// How far the step across a wrap may exceed the usual steps between
// neighbouring columns or rows before it shows as a seam.
constexpr double SEAM_LIMIT = 1.6;

// The plain wall as the player sees it: the file holds it floor row first.
Pixels drawn_wall() {
    return flipped_rows(load_pixels(asset_path(ROOMS + "wall_brick.png")));
}

// For each course of bricks (16 rows), the column, 0..31, at which its
// vertical joints stand: where narrow features peak once the course's
// columns are folded onto one brick length. Carvings and moss blur a single
// brick, but not all four of a course.
std::vector<int> joint_phases(const Pixels &p) {
    std::vector<int> phases;
    for (int course = 0; course < p.h / 16; ++course) {
        std::vector<double> column(p.w, 0.0);
        for (int x = 0; x < p.w; ++x)
            for (int y = course * 16 + 3; y < course * 16 + 13; ++y)
                column[x] += luminance(p, x, y);
        std::array<double, 32> folded = {};
        for (int x = 0; x < p.w; ++x) {
            double around = (column[(x + p.w - 3) % p.w] + column[(x + 3) % p.w]) / 2;
            folded[x % 32] += std::fabs(column[x] - around);
        }
        phases.push_back(
            static_cast<int>(std::max_element(folded.begin(), folded.end()) - folded.begin()));
    }
    return phases;
}

int courses_in_line(const Pixels &a, const Pixels &b) {
    std::vector<int> pa = joint_phases(a), pb = joint_phases(b);
    int same = 0;
    for (size_t i = 0; i < pa.size(); ++i) {
        int d = std::abs(pa[i] - pb[i]) % 32;
        same += std::min(d, 32 - d) <= 2;
    }
    return same;
}

double mean_luminance(const Pixels &p, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += luminance(p, x, y);
    return sum / ((x1 - x0) * (y1 - y0));
}

class Textures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IMG_Init(IMG_INIT_PNG); }
    static void TearDownTestSuite() { IMG_Quit(); }
};

TEST_F(Textures, LoadWithTheirSizes) {
    for (const Expected &e : IMAGES) {
        Pixels p = load_pixels(asset_path(e.path));
        ASSERT_GT(p.w, 0) << e.path << ": " << SDL_GetError();
        EXPECT_EQ(p.w, e.w) << e.path;
        EXPECT_EQ(p.h, e.h) << e.path;
    }
}

TEST_F(Textures, RepeatingTexturesTileWithoutASeam) {
    for (const char *name : {"wall_brick.png", "floor_.png", "ceiling_.png"}) {
        Pixels p = load_pixels(asset_path(ROOMS + name));
        ASSERT_GT(p.w, 0) << name;
        EXPECT_LT(seam_ratio_x(p), SEAM_LIMIT) << name << " across its left and right edges";
        EXPECT_LT(seam_ratio_y(p), SEAM_LIMIT) << name << " across its top and bottom edges";
        // The measure does see a seam when there is one: cut the same image
        // between unrelated columns and it stands out.
        int seams = 0;
        for (int k = 1; k <= 7; ++k) seams += cut_ratio_x(p, p.w - 1, p.w * k / 8 + 3) > SEAM_LIMIT;
        EXPECT_GE(seams, 5) << name;
    }
}

TEST_F(Textures, SecretFaceStandsOutFromThePlainWall) {
    Pixels wall = drawn_wall();
    Pixels secret = load_pixels(asset_path(ROOMS + "wall_brick_secret.png"));
    ASSERT_GT(wall.w, 0);
    ASSERT_EQ(secret.w, wall.w);
    EXPECT_GT(mean_difference(wall, secret), 20.0);
}

TEST_F(Textures, SecretFaceContinuesTheCoursesOfTheWallBesideIt) {
    // Both as drawn (the secret file holds its top row first): the vertical
    // joints of every course fall in the same columns, which they would not
    // if either stood the wrong way up, as the courses alternate.
    Pixels wall = drawn_wall();
    Pixels secret = load_pixels(asset_path(ROOMS + "wall_brick_secret.png"));
    ASSERT_EQ(secret.h, 128);
    EXPECT_GE(courses_in_line(wall, secret), 7);
    EXPECT_LE(courses_in_line(flipped_rows(wall), secret), 1);
}

TEST_F(Textures, DoorFacesShowAClosedDoorAndADarkOpening) {
    Pixels wall = drawn_wall();
    Pixels closed = load_pixels(asset_path(ROOMS + "wall_brick_secret_door0.png"));
    Pixels open = load_pixels(asset_path(ROOMS + "wall_brick_secret_door80.png"));
    ASSERT_EQ(closed.w, 128);
    ASSERT_EQ(open.w, 128);
    // The middle of the doorway, floor to lintel.
    double closed_middle = mean_luminance(closed, 48, 60, 80, 124);
    double open_middle = mean_luminance(open, 48, 60, 80, 124);
    EXPECT_LT(open_middle, 20.0);
    EXPECT_GT(closed_middle, 45.0);
    // Away from the doorway both stand in the same brick wall as the plain face.
    for (const Pixels *door : {&closed, &open}) {
        double edge = 0;
        for (int y = 0; y < 128; ++y)
            for (int x : {0, 1, 2, 3, 4, 5, 122, 123, 124, 125, 126, 127})
                edge += std::fabs(luminance(*door, x, y) - luminance(wall, x, y));
        EXPECT_LT(edge / (128 * 12), 3.0);
    }
    EXPECT_GT(mean_difference(closed, open), 10.0);
}

TEST_F(Textures, BackdropIsDarkButHasSomethingToSee) {
    Pixels bg = load_pixels(asset_path("images/bgimage.png"));
    ASSERT_EQ(bg.w, 960);
    double mean = mean_luminance(bg, 0, 0, bg.w, bg.h);
    double var = 0;
    for (int y = 0; y < bg.h; y += 2)
        for (int x = 0; x < bg.w; x += 2) var += std::pow(luminance(bg, x, y) - mean, 2);
    double deviation = std::sqrt(var / (bg.w / 2 * bg.h / 2));
    EXPECT_GT(mean, 12.0);
    EXPECT_LT(mean, 110.0);
    EXPECT_GT(deviation, 12.0);
}

} // namespace
