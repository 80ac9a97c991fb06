// The title frame, the overlay and the chat layer, drawn for real and read
// back. Presenting is stubbed, so each finished frame stays in the back buffer.
#include "chat_store.h"
#include "flashlight.h"
#include "fonts.h"
#include "game.h"
#include "gl_env.h"
#include "journey.h"
#include "journey_map.h"
#include "menu_view.h"
#include "overlay.h"
#include "paths.h"
#include "player.h"
#include "sys_null.h"
#include "text.h"
#include "textures.h"
#include "world.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TTF_Font *open_font(const char *const *paths, size_t n, int size) {
    for (size_t i = 0; i < n; i++)
        if (TTF_Font *f = TTF_OpenFont(paths[i], size)) return f;
    return nullptr;
}

class Overlay : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        font_small = open_small_font("/nonexistent"); // the system's copy, as installed
        font_medium = open_font(FONT_BOLD_PATHS, std::size(FONT_BOLD_PATHS), 18);
        font_large = open_font(FONT_BOLD_PATHS, std::size(FONT_BOLD_PATHS), 28);
    }
    void SetUp() override {
        ASSERT_NE(font_small, nullptr);
        ASSERT_NE(font_medium, nullptr);
        resize_window(960, 600);
        world_reset();
        player_reset();
        chat_reset();
        game_reset(0);
        null_sys = NullSys{};
        flash_spring = 0;
        // A mid-grey world, so that both light text and dark panels show on it.
        static uint32_t grey = solid_texture(0xFF808080);
        tex_wall = tex_secret = tex_floor_id = tex_ceil = tex_door_closed = tex_door_open = grey;
        tex_bg = 0;
        px = 4.5;
        py = 4.5;
    }
    // A play frame over a plain scene: looking straight down at the floor.
    static void frame(int state, uint32_t ticks, int w = 960, int h = 600) {
        cam_pitch = -M_PI / 2;
        render_3d();
        draw_overlay(state, ticks, w, h);
    }
    static Rgba shown(int x, int y) { return read_pixel(x, y); }
    // Brightest and reddest pixels of a rectangle of the presented frame.
    static int max_luminance(int x0, int y0, int x1, int y1) {
        int best = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) best = std::max(best, luminance(shown(x, y)));
        return best;
    }
    static bool has_red(int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                Rgba c = shown(x, y);
                if (c.r > 180 && c.g < 90 && c.b < 90) return true;
            }
        return false;
    }
};

TEST_F(Overlay, TitleShowsBackdropBannerAndPrompt) {
    draw_title_screen(0);
    Rgba bg = shown(5, 5);
    EXPECT_NEAR(bg.r, 10, 2);
    EXPECT_NEAR(bg.b, 20, 2);
    // Banner from 0.18 H (108) over seven lines; light blue strokes.
    bool banner = false;
    for (int y = 108; y < 260 && !banner; y += 2)
        for (int x = 200; x < 760 && !banner; x++) {
            Rgba c = shown(x, y);
            banner = c.b > 150 && c.b >= c.r;
        }
    EXPECT_TRUE(banner);
    EXPECT_GT(max_luminance(280, 492, 680, 530), 120) << "prompt at 0.82 H";
}

TEST_F(Overlay, TitleFollowsAResizedWindow) {
    resize_window(1280, 800);
    draw_title_screen(0);
    // The backdrop reaches the far corner and the prompt is centred on 1280.
    EXPECT_NEAR(shown(1270, 790).b, 20, 2);
    EXPECT_GT(max_luminance(560, 656, 720, 700), 120);
    EXPECT_LT(max_luminance(0, 656, 300, 700), 40) << "nothing left in the old 960 corner";
}

TEST_F(Overlay, PromptPulsesButNeverFades) {
    int lo = 255, hi = 0;
    for (uint32_t t = 0; t < 2100; t += 150) {
        draw_title_screen(t);
        int l = max_luminance(380, 495, 580, 530);
        lo = std::min(lo, l);
        hi = std::max(hi, l);
    }
    EXPECT_GT(hi - lo, 40);
    EXPECT_GT(lo, 90) << "alpha stays at 120/255 or more";
}

TEST_F(Overlay, MapPanelSitsInTheTopRightCorner) {
    frame(STATE_PLAY, 0);
    int plain_in = luminance(shown(860, 150)), plain_out = luminance(shown(760, 150));
    int plain_below = luminance(shown(860, 196));
    show_map = 1;
    frame(STATE_PLAY, 0);
    EXPECT_LT(luminance(shown(767, 11)), plain_in * 0.6);
    EXPECT_LT(luminance(shown(949, 193)), plain_in * 0.6);
    EXPECT_EQ(luminance(shown(764, 150)), plain_out);
    EXPECT_EQ(luminance(shown(951, 150)), plain_out);
    EXPECT_EQ(luminance(shown(860, 196)), plain_below) << "the panel ends at y 194";
    // The heading arrow points right (pa = 0) from the centre (858, 102).
    EXPECT_TRUE(has_red(862, 98, 870, 106));
    EXPECT_FALSE(has_red(846, 98, 854, 106));

    show_map = 1;
    frame(STATE_INTRO, 10000); // never in the intro
    EXPECT_EQ(luminance(shown(860, 150)), plain_in);
}

TEST_F(Overlay, MapStaysOnScreenWhenLarger) {
    resize_window(1920, 1200);
    show_map = 1;
    frame(STATE_PLAY, 0, 1920, 1200);
    // Twice the reference: backing from x 1532 to 1900, y 20 to 388.
    int inside = luminance(shown(1700, 300)), right_margin = luminance(shown(1910, 300));
    show_map = 0;
    frame(STATE_PLAY, 0, 1920, 1200);
    EXPECT_LT(inside, luminance(shown(1700, 300)) * 0.6);
    EXPECT_EQ(right_margin, luminance(shown(1910, 300))) << "the panel ends at x 1900";
}

TEST_F(Overlay, ReadoutShowsThePosition) {
    frame(STATE_PLAY, 0);
    int with_text = max_luminance(10, 576, 120, 592);
    int beside_with = max_luminance(200, 576, 300, 592);
    TTF_Font *keep = font_small;
    font_small = nullptr; // a missing font draws nothing, and nothing breaks
    frame(STATE_PLAY, 0);
    font_small = keep;
    int without = max_luminance(10, 576, 120, 592);
    EXPECT_NE(with_text, without);
    EXPECT_EQ(max_luminance(200, 576, 300, 592), beside_with) << "the readout stays at x 10";
}

TEST_F(Overlay, MessagesShowAndTheWarningIsRed) {
    chat_add_at("hello there", 0);
    chat_add_at("[{z}]: I SEE YOU", 0);
    frame(STATE_PLAY, 100);
    EXPECT_FALSE(has_red(10, 28, 200, 44)) << "row 0 is white text";
    EXPECT_TRUE(has_red(10, 46, 200, 62)) << "row 1 is the warning";
    // Backing quads: dark strips 480 wide at rows 28 and 46.
    EXPECT_LT(luminance(shown(480, 40)), 50);
    EXPECT_GT(luminance(shown(480, 70)), 100) << "no third row";

    frame(STATE_PLAY, 8001); // both expired
    EXPECT_GT(luminance(shown(480, 40)), 100);
}

TEST_F(Overlay, MarksAboveTheNameLeaveTheLineInItsRow) {
    // The same line without marks and with four marks stacked above every
    // letter of the name: "I SEE YOU" must sit exactly one row lower.
    std::string heavy = "[{";
    for (char letter : std::string("zalgo")) {
        heavy += letter;
        for (int m : {0x300, 0x301, 0x302, 0x303}) heavy += marks[m - 0x300].data();
    }
    heavy += "}]: I SEE YOU";
    chat_add_at("[{zalgo}]: I SEE YOU", 0);
    chat_add_at(heavy.c_str(), 0);
    frame(STATE_PLAY, 100);
    // Rows of red pixels in the columns of "I SEE YOU", for each message.
    auto red_rows = [&](int top) {
        std::vector<int> rows;
        for (int y = top; y < top + 18; y++)
            if (has_red(96, y, 180, y + 1)) rows.push_back(y - top);
        return rows;
    };
    std::vector<int> plain = red_rows(28), marked = red_rows(46);
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(marked, plain);
}

TEST_F(Overlay, InputLineAndCloseBox) {
    frame(STATE_PLAY, 0);
    int plain = luminance(shown(200, 15));
    chat_open = 1;
    chat_type("abc");
    frame(STATE_PLAY, 0);
    EXPECT_LT(luminance(shown(200, 15)), plain / 2) << "input box backing";
    Rgba close = shown(317, 7); // close box spans 314..330 x 4..20
    EXPECT_GT(close.r, close.g + 40);
    EXPECT_GT(max_luminance(14, 6, 60, 24), 150) << "the typed line";
    EXPECT_GT(max_luminance(315, 5, 330, 20), 200) << "the X";
}

TEST_F(Overlay, IntroFadesInFromBlack) {
    frame(STATE_PLAY, 0);
    int full = shown(480, 300).g;
    ASSERT_GT(full, 100);
    intro_start = 1000;
    frame(STATE_INTRO, 1000); // t = 0: opaque black
    EXPECT_LT(shown(480, 300).g, 3);
    frame(STATE_INTRO, 1000 + 1750); // t = 0.5: alpha 0.5
    EXPECT_NEAR(shown(480, 300).g, full / 2.0, 3);
    frame(STATE_INTRO, 1000 + 3500); // t = 1: no fade
    EXPECT_EQ(shown(480, 300).g, full);
    frame(STATE_INTRO, 999); // a stamp after the frame's tick counts as t = 0
    EXPECT_LT(shown(480, 300).g, 3);
}

std::vector<unsigned char> whole_frame(int w = 960, int h = 600) {
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

int live_textures() {
    int n = 0;
    for (uint32_t name = 1; name <= max_texture_name; name++) n += glIsTexture(name) == GL_TRUE;
    return n;
}

TEST_F(Overlay, TextKeptFromFrameToFrameLooksTheSame) {
    // Every kind of string: the readout, white and red messages, one fading
    // out (age 7000 ms at tick 9000), the input line and the close box.
    srand(7);
    chat_add_at("fading out", 2000);
    chat_add_at("hello there", 8900);
    for (int i = 0; i < 6; i++) {
        char line[600];
        format_dark_presence(line, sizeof line);
        chat_add_at(line, 8950);
    }
    chat_open = 1;
    chat_type("abc");
    text_cache_reset(0);
    frame(STATE_PLAY, 9000);
    auto drawn_anew = whole_frame();
    text_cache_reset(1);
    frame(STATE_PLAY, 9000);
    EXPECT_EQ(text_cache_textures(), 11) << "readout, 8 messages, input line, X";
    frame(STATE_PLAY, 9000); // now all from the previous frame
    auto kept = whole_frame();
    // The fading row (28..44 from the top) is faded by the quad instead of
    // the rendering, which may round a channel one step the other way.
    int worst = 0, worst_elsewhere = 0;
    for (size_t i = 0; i < kept.size(); i++) {
        int row_from_top = 599 - static_cast<int>(i / 4 / 960);
        int &w = row_from_top >= 28 && row_from_top < 44 ? worst : worst_elsewhere;
        w = std::max(w, std::abs(kept[i] - drawn_anew[i]));
    }
    EXPECT_EQ(worst_elsewhere, 0);
    EXPECT_LE(worst, 1);
}

TEST_F(Overlay, TextThatChangesIsDrawnAnewAndNothingLeaks) {
    text_cache_reset(1);
    frame(STATE_PLAY, 0);
    int before = live_textures() - text_cache_textures();
    for (int i = 0; i < 40; i++) { // the readout changes every frame
        px = 4.5 + 0.1 * i;
        chat_add_at(i % 2 ? "odd" : "even", static_cast<uint32_t>(i));
        frame(STATE_PLAY, static_cast<uint32_t>(i));
    }
    auto kept = whole_frame();
    text_cache_reset(0);
    frame(STATE_PLAY, 39);
    EXPECT_EQ(whole_frame(), kept) << "the last readout and messages, as drawn anew";
    EXPECT_EQ(live_textures(), before) << "every text texture given back";
    text_cache_reset(1);
    frame(STATE_PLAY, 39);
    EXPECT_EQ(text_cache_textures(), 3) << "readout, \"odd\" and \"even\": a string is kept once";
    chat_reset();
    frame(STATE_PLAY, 39);
    EXPECT_EQ(text_cache_textures(), 1) << "only the readout is still drawn";
    EXPECT_EQ(live_textures(), before + 1);
}

// The journey map with every marker it can hold, all in view: each number
// and both lines are kept from frame to frame, not rendered afresh.
TEST_F(Overlay, JourneyMapKeepsEveryMarkerNumberItDraws) {
    journey_reset(0, 0);
    for (int i = 0; i < MAX_MARKERS; i++) journey_toggle_marker(i % 10, i / 10);
    map_open_at(5, 5, 5, 5);
    text_cache_reset(1);
    draw_map_page(0, 960, 600);
    int textures = live_textures();
    draw_map_page(0, 960, 600);
    EXPECT_EQ(text_cache_textures(), MAX_MARKERS + 2) << "the numbers, the key line, the figures";
    EXPECT_EQ(live_textures(), textures);
    journey_reset(0, 0);
}

// The options menu's message at any length: two lines at most, each inside
// the panel, and a long path shortened so its file name and the reason show.
TEST_F(Overlay, MenuMessagesFitInTwoLinesWithTheFileNameAndReason) {
    std::string deep;
    for (int i = 0; i < 12; i++) deep += "/" + std::string(200, 'a' + i);
    const std::string reason = "settings.ini: Input/output error"; // a / in the reason too
    for (const std::string &path :
         {std::string("/home/x"),
          std::string("/home/someone/.config/a/rather/deep/folder/of/theirs/here"), deep}) {
        std::string message = "NOT SAVED: " + path + "/drevix-raycaster/" + reason;
        std::vector<std::string> lines = menu_message_lines(font_small, message, 520);
        ASSERT_GE(lines.size(), 1u);
        EXPECT_LE(lines.size(), 2u) << message;
        std::string joined;
        for (const std::string &l : lines) {
            int w = 0, h = 0;
            TTF_SizeUTF8(font_small, l.c_str(), &w, &h);
            EXPECT_LE(w, 520) << l;
            joined += (joined.empty() ? "" : " ") + l;
        }
        EXPECT_EQ(joined.substr(joined.size() - reason.size() - 1), "/" + reason) << joined;
        EXPECT_EQ(joined.find("\u2026") != std::string::npos, path == deep) << joined;
        EXPECT_EQ(joined.rfind("NOT SAVED: /", 0), 0u) << joined;
    }
}

} // namespace
