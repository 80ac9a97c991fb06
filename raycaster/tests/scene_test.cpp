// The 3D view drawn into a real GL context and read back.
#include "doors.h"
#include "frame_views.h"
#include "flashlight.h"
#include "gl_env.h"
#include "player.h"
#include "textures.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFF, RED = 0xFFFF0000, GREEN = 0xFF00FF00, BLUE = 0xFF0000FF;

class Scene : public ::testing::Test {
  protected:
    void SetUp() override {
        resize_window(960, 600);
        world_reset();
        player_reset();
        flash_spring = flash_vel = 0;
        static uint32_t white = solid_texture(WHITE);
        tex_wall = tex_secret = tex_floor_id = tex_ceil = white;
        tex_door_closed = tex_door_open = white;
    }
    static void view(double x, double y, double heading, double pitch = 0) {
        px = x;
        py = y;
        pa = 0;
        player_rotate(heading);
        cam_pitch = pitch;
    }
    static Rgba centre() { return read_pixel(480, 300); }
};

bool mostly(const Rgba &c, char channel) {
    int v = channel == 'r' ? c.r : channel == 'g' ? c.g : c.b;
    int others = c.r + c.g + c.b - v;
    return v > 30 && v > others;
}

TEST_F(Scene, WallAheadShowsItsTextureDimmedByAmbientAndTopShade) {
    // Row 0 of the start chunk is wall; the player stands 0.8 from it, in
    // the always-lit spawn disc, so every light level is 1.
    view(4.5, 1.8, -M_PI / 2);
    render_3d();
    // Half way up the wall the colour is half way from 1 to 0.45, times 0.95.
    EXPECT_NEAR(centre().r, 0.95 * 0.725 * 255, 3);
    EXPECT_EQ(centre().r, centre().b);
    // Near the floor: height 0.5 - (290 / 300) * 0.8 / cot(30°) = 0.054.
    double h = 0.5 - (290.0 / 300.0) * 0.8 / 1.7320508075688774;
    EXPECT_NEAR(read_pixel(480, 590).r, 0.95 * (1 - 0.55 * h) * 255, 3);
}

TEST_F(Scene, FlashlightBrightensTheCentre) {
    // Lighting is per vertex: the wall must be far enough for the corners of
    // the face ahead to fall inside the 25-degree cone.
    view(4.5, 3.5, -M_PI / 2);
    render_3d();
    int dark = luminance(centre());
    int edge = luminance(read_pixel(20, 300));
    flash_spring = 1.0;
    render_3d();
    EXPECT_GT(luminance(centre()), dark + 12);
    EXPECT_GT(centre().r, centre().b) << "warm light";
    EXPECT_GT(luminance(centre()), luminance(read_pixel(20, 300)) + 10) << "a spot, not a flood";
    EXPECT_GE(luminance(read_pixel(20, 300)), edge);
    flash_spring = 0.0099999998; // the switch is the single-precision 0.01
    render_3d();
    EXPECT_EQ(luminance(centre()), dark);
}

TEST_F(Scene, FogFadesTheFloorToBlackAt48) {
    // Straight down from ever higher: the floor below lies cam_y away.
    view(4.5, 4.5, 0, -M_PI / 2);
    double expect_at[][2] = {{0.5, 242}, {25.0, 0.95 * 255 * (48 - 25.0) / 46}, {60.0, 0}};
    for (auto [height, expected] : expect_at) {
        cam_y = height;
        render_3d();
        EXPECT_NEAR(centre().g, expected, 8) << "eye height " << height;
    }
    cam_y = 47.5;
    render_3d();
    EXPECT_LT(centre().g, 15);
}

TEST_F(Scene, FloorRepeatsFourTimesAndCeilingTwicePerCell) {
    const uint32_t checker[] = {0xFF000000, WHITE, WHITE, 0xFF000000};
    uint32_t tex = texture_from_pixels(2, 2, checker);
    tex_floor_id = tex_ceil = tex;
    auto flips = [] {
        int n = 0;
        bool bright = read_pixel(0, 300).g > 120;
        for (int x = 1; x < 960; x++) {
            bool b = read_pixel(x, 300).g > 120;
            n += b != bright;
            bright = b;
        }
        return n;
    };
    // From 0.501 above the floor the view spans 0.93 cells across: a texel
    // every 1/8 cell on the floor, every 1/4 on the ceiling.
    view(4.5, 4.5, 0, -M_PI / 2);
    render_3d();
    int floor_flips = flips();
    EXPECT_GE(floor_flips, 6);
    EXPECT_LE(floor_flips, 8);
    view(4.5, 4.5, 0, M_PI / 2);
    render_3d();
    int ceiling_flips = flips();
    EXPECT_GE(ceiling_flips, 3);
    EXPECT_LE(ceiling_flips, 4);
}

TEST_F(Scene, SecretFacesStandTheOtherWayUp) {
    // Top texel row red, bottom blue: brick shows its first row at the floor.
    const uint32_t gradient[] = {RED, BLUE};
    tex_wall = tex_secret = texture_from_pixels(1, 2, gradient);
    // Chunk (-1, 0): face 0 of cell (-3, 7) is secret (no door); the wall
    // cell (-3, 6) beside it is ordinary.
    ASSERT_EQ(world_cell(-3, 7), CELL_WALL);
    ASSERT_EQ(is_secret_face(-3, 7, 0), 1);
    ASSERT_EQ(world_cell(-3, 6), CELL_WALL);
    view(-4.5, 7.5, 0);
    render_3d();
    EXPECT_TRUE(mostly(read_pixel(480, 450), 'b')) << "secret face, lower half";
    EXPECT_TRUE(mostly(read_pixel(480, 150), 'r')) << "secret face, upper half";
    EXPECT_TRUE(mostly(read_pixel(134, 420), 'r')) << "brick beside it, lower half";
}

TEST_F(Scene, DoorsShowTheirOwnImageOpenOrClosed) {
    tex_secret = solid_texture(BLUE);
    tex_door_closed = solid_texture(RED);
    tex_door_open = solid_texture(GREEN);
    world_cell(0, 0); // door 0: face 0 of cell (13, 11)
    ASSERT_EQ(door_count, 1);
    view(12.5, 11.5, 0);
    render_3d();
    EXPECT_TRUE(mostly(centre(), 'r'));
    doors[0].open = 1;
    render_3d();
    EXPECT_TRUE(mostly(centre(), 'g'));
}

TEST_F(Scene, NoFaceOfTheCellHoldingTheEyeIsDrawn) {
    tex_door_closed = tex_door_open = solid_texture(RED);
    world_cell(0, 0);
    doors[0].open = 1;
    // Inside the door's cell looking back through its door face: the eye is
    // not outside face 0, so it is not drawn and the brick of cell (10, 11)
    // shows 2.5 cells away.
    view(13.5, 11.5, M_PI);
    render_3d();
    Rgba c = centre();
    EXPECT_LT(std::abs(c.r - c.g), 10) << "grey brick, not the red door";
    EXPECT_GT(c.g, 100);
}

std::vector<unsigned char> frame_pixels(bool reference) {
    render_reference = reference;
    render_3d();
    render_reference = 0;
    std::vector<unsigned char> px(960 * 600 * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 960, 600, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

TEST_F(Scene, BatchedPassesDrawTheSamePixelsAsTheStraightforwardOnes) {
    // Real-looking textures, so a shifted texel or light level would show.
    std::vector<uint32_t> brick(64 * 64), floor(32 * 32);
    for (int i = 0; i < 64 * 64; i++) brick[i] = 0xFF000000u | (i * 2654435761u >> 8);
    for (int i = 0; i < 32 * 32; i++) floor[i] = 0xFF000000u | (i * 40503u * 977u);
    tex_wall = texture_from_pixels(64, 64, brick.data());
    tex_floor_id = texture_from_pixels(32, 32, floor.data());
    tex_ceil = tex_secret = texture_from_pixels(32, 32, floor.data() + 0);
    tex_door_closed = solid_texture(RED);
    world_cell(0, 0);
    world_cell(-3, 7);
    for (const FrameView &v : FRAME_VIEWS) {
        place_view(v);
        auto fast = frame_pixels(false);
        auto reference = frame_pixels(true);
        size_t differ = 0;
        for (size_t i = 0; i < fast.size(); i++) differ += fast[i] != reference[i];
        EXPECT_EQ(differ, 0u) << v.name;
        EXPECT_NE(std::count(fast.begin(), fast.end(), 0), static_cast<long>(fast.size()))
            << v.name << ": nothing drawn";
    }
}

TEST_F(Scene, StateLeftForTheOverlay) {
    view(4.5, 4.5, 0);
    flash_spring = 1;
    render_3d();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

} // namespace
