// The 3D view drawn into a real GL context and read back.
#include "doors.h"
#include "frame_views.h"
#include "flashlight.h"
#include "gl_env.h"
#include "player.h"
#include "settings.h"
#include "textures.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFF, RED = 0xFFFF0000, GREEN = 0xFF00FF00, BLUE = 0xFF0000FF;

class Scene : public ::testing::Test {
  protected:
    void SetUp() override {
        resize_window(960, 600);
        world_reset();
        player_reset();
        settings_reset();
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

std::vector<unsigned char> frame_pixels(bool reference, int w = 960, int h = 600) {
    render_reference = reference;
    render_3d();
    render_reference = 0;
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

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

// Mean luminance of the pixels of a 960x600 frame whose line of sight lies
// between `from` and `to` degrees off the view axis.
double ring_luminance(const std::vector<unsigned char> &px, double from, double to) {
    const double per_pixel = std::tan(M_PI / 6) / 300; // 60 degrees over 600 rows
    double sum = 0;
    int n = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 960; x++) {
            double dx = (x + 0.5 - 480) * per_pixel, dy = (y + 0.5 - 300) * per_pixel;
            double off = std::atan(std::hypot(dx, dy)) * 180 / M_PI;
            if (off < from || off >= to) continue;
            const unsigned char *p = &px[(y * 960 + x) * 4];
            sum += (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100.0;
            n++;
        }
    return sum / n;
}

TEST_F(Scene, FlashlightThrowsARoundPoolWithASoftRim) {
    // A wall 2.5 cells ahead: in the always-lit spawn disc, and from the
    // darkest kind of cell.
    struct Case {
        const char *name;
        double x, y, heading;
    } cases[] = {{"lit", 4.5, 3.5, -M_PI / 2}, {"dark", 21.5, 9.5, 0}};
    for (const Case &c : cases) {
        view(c.x, c.y, c.heading);
        flash_spring = 0;
        auto off = frame_pixels(false);
        flash_spring = 1;
        auto on = frame_pixels(false);
        double core_off = ring_luminance(off, 0, 5), core_on = ring_luminance(on, 0, 5);
        double rim_added = ring_luminance(on, 17, 22) - ring_luminance(off, 17, 22);
        double core_added = core_on - core_off;
        std::printf("%s cell: core %.1f -> %.1f, rim adds %.2f: core/rim %.1f, added/unlit %.2f, "
                    "lit/unlit %.2f\n",
                    c.name, core_off, core_on, rim_added, core_added / rim_added,
                    core_added / core_off, core_on / core_off);
        bool lit = std::string(c.name) == "lit";
        if (lit) {
            // (In the dark the cells ahead are lifted as well, rim and all.)
            EXPECT_GT(core_added, 4.5 * rim_added) << "a pool, not a wash";
            EXPECT_GT(core_added, 0.25 * core_off) << "seen even where it is light";
            continue; // near white, the wall clamps the light unevenly
        }
        EXPECT_GT(core_on, 1.6 * core_off) << "the dark gives way";
        // Round: as much light 8 degrees to the side as 8 degrees up and down.
        auto added_at = [&](int x, int y) {
            auto lum = [&](const std::vector<unsigned char> &px) {
                const unsigned char *p = &px[(y * 960 + x) * 4];
                return (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100.0;
            };
            return lum(on) - lum(off);
        };
        int d = static_cast<int>(std::tan(8 * M_PI / 180) / std::tan(M_PI / 6) * 300);
        double side = (added_at(480 - d, 300) + added_at(480 + d, 300)) / 2;
        double updown = (added_at(480, 300 - d) + added_at(480, 300 + d)) / 2;
        EXPECT_NEAR(side, updown, 0.1 * std::max(side, updown)) << "round";
        const unsigned char *centre = &on[(300 * 960 + 480) * 4];
        EXPECT_GT(centre[0], centre[2] + 10) << "warm light";
    }
    view(4.5, 3.5, -M_PI / 2);
    flash_spring = 0;
    auto dark = frame_pixels(false);
    flash_spring = static_cast<double>(0.01f); // the switch is the single-precision 0.01
    auto barely = frame_pixels(false);
    EXPECT_EQ(barely, dark);
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

// Real-looking textures, so a shifted texel or light level would show.
void use_patterned_textures() {
    std::vector<uint32_t> brick(64 * 64), floor(32 * 32);
    for (int i = 0; i < 64 * 64; i++) brick[i] = 0xFF000000u | (i * 2654435761u >> 8);
    for (int i = 0; i < 32 * 32; i++) floor[i] = 0xFF000000u | (i * 40503u * 977u);
    tex_wall = texture_from_pixels(64, 64, brick.data());
    tex_floor_id = texture_from_pixels(32, 32, floor.data());
    tex_ceil = tex_secret = texture_from_pixels(32, 32, floor.data() + 0);
    tex_door_closed = solid_texture(RED);
    world_cell(0, 0);
    world_cell(-3, 7);
}

TEST_F(Scene, BatchedPassesDrawTheSamePixelsAsTheStraightforwardOnes) {
    use_patterned_textures();
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

uint64_t fnv1a(const std::vector<unsigned char> &bytes) {
    uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

TEST_F(Scene, FlashlightOffFramesMatchThePicturesTakenBeforeTheBeam) {
    // Hashes of these frames as the renderer drew them before the flashlight
    // gained its finer beam geometry (Mesa 22.3 llvmpipe, Debian 12): with
    // the light off nothing may change, not one pixel.
    struct Expected {
        const char *view;
        uint64_t hash;
    };
    const Expected expected[] = {
        {"spawn", 11690627495689140874u},        {"pillar room", 12686416004434510219u},
        {"long corridor", 6179029649585044496u}, {"looking up", 15091757368692806268u},
        {"looking down", 1364507490523286781u},  {"door ahead", 2033031997309461925u},
        {"secret wall", 17444468054809766674u},  {"dark, flashlight off", 12625772111785239103u},
    };
    use_patterned_textures();
    for (const Expected &e : expected) {
        const FrameView *v =
            std::find_if(std::begin(FRAME_VIEWS), std::end(FRAME_VIEWS),
                         [&](const FrameView &f) { return e.view == std::string(f.name); });
        ASSERT_NE(v, std::end(FRAME_VIEWS)) << e.view;
        place_view(*v);
        ASSERT_EQ(flash_spring, 0.0);
        EXPECT_EQ(fnv1a(frame_pixels(false)), e.hash) << e.view;
        EXPECT_EQ(fnv1a(frame_pixels(true)), e.hash) << e.view << ", straightforward passes";
    }
}

TEST_F(Scene, BrightnessLiftsDarkerTonesMostAndRenderScaleEnlargesInBlocks) {
    use_patterned_textures();
    place_view(*std::find_if(std::begin(FRAME_VIEWS), std::end(FRAME_VIEWS), [](auto &v) {
        return std::string(v.name) == "dark, flashlight off"; // dark and lit cells in view
    }));
    std::vector<unsigned char> plain = frame_pixels(false);
    brightness = 100; // x + x (1 - x): black and white stay, the order of tones too
    std::vector<unsigned char> lifted = frame_pixels(false);
    brightness = 0;
    int off = 0;
    for (size_t i = 0; i < plain.size(); i++) {
        double x = plain[i] / 255.0;
        off += i % 4 != 3 && std::abs(lifted[i] - (x + x * (1 - x)) * 255) > 2;
    }
    EXPECT_EQ(off, 0);

    // At 50 % the 960x600 view is the 480x300 one, each pixel a 2x2 block
    // (but for rounding where long runs of floor go as one quad).
    resize_window(480, 300);
    std::vector<unsigned char> small = frame_pixels(false, 480, 300);
    resize_window(960, 600);
    render_scale = 50;
    std::vector<unsigned char> blocks = frame_pixels(false);
    int unlike = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 960; x++)
            for (int c = 0; c < 3; c++)
                if (std::abs(blocks[(y * 960 + x) * 4 + c] - small[(y / 2 * 480 + x / 2) * 4 + c]) >
                    8) {
                    unlike++;
                    break;
                }
    EXPECT_LT(unlike, 960 * 600 / 100);
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
