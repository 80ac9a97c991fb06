// The loop's routing of events by state, and the per-frame rules, driven
// through the recording platform stand-in.
#include "chat_store.h"
#include "fresh_world.h"
#include "game.h"
#include "journey_file.h"
#include "journey_map.h"
#include "title.h"
#include "menu.h"
#include "settings.h"
#include "bindings.h"
#include "sys_null.h"

#include <cmath>
#include <cstdlib>

namespace {

SDL_Event key(SDL_Keycode sym) {
    SDL_Event ev{};
    ev.type = SDL_KEYDOWN;
    ev.key.keysym.sym = sym;
    return ev;
}
SDL_Event click(int button = SDL_BUTTON_LEFT, int x = 500, int y = 300) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = static_cast<Uint8>(button);
    ev.button.x = x;
    ev.button.y = y;
    return ev;
}
SDL_Event motion(int xrel, int yrel) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.xrel = xrel;
    ev.motion.yrel = yrel;
    return ev;
}
SDL_Event pad(int button) {
    SDL_Event ev{};
    ev.type = SDL_CONTROLLERBUTTONDOWN;
    ev.cbutton.button = static_cast<Uint8>(button);
    return ev;
}
SDL_Event plug(Uint32 type, int which) {
    SDL_Event ev{};
    ev.type = type;
    ev.cdevice.which = which;
    return ev;
}
SDL_Event text(const char *s) {
    SDL_Event ev{};
    ev.type = SDL_TEXTINPUT;
    std::snprintf(ev.text.text, sizeof ev.text.text, "%s", s);
    return ev;
}

class Loop : public FreshWorld {
  protected:
    void SetUp() override {
        FreshWorld::SetUp();
        chat_reset();
        null_sys = NullSys{};
        null_sys.ticks = 1000;
        game_reset(1000);
        menu_open = 0;
        settings_reset();
        title_reset(0);
        journey_found = 0;
        journey_reset(2, 2);
    }
    void TearDown() override { journey_path.clear(); }
    // A journey kept facing south-ish in chunk (0, 0), flashlight on.
    void kept_journey(double x, double y) {
        journey_found = 1;
        journey_saved_place = {x, y, 1.25, -0.5, 1};
        journey_seconds = 100;
        title_reset(1);
    }
    SDL_Event window(Uint8 event) {
        SDL_Event ev{};
        ev.type = SDL_WINDOWEVENT;
        ev.window.event = event;
        return ev;
    }
    void play() { // title -> intro -> play, as a player gets there
        handle_event(key(SDLK_SPACE));
        game_state = STATE_PLAY;
    }
};

TEST_F(Loop, TitleStartsTheIntroOnAnyKeyOrButton) {
    for (SDL_Event ev : {key(SDLK_ESCAPE), key(SDLK_a), click(SDL_BUTTON_RIGHT)}) {
        game_reset(1000);
        null_sys.ticks = 1234;
        handle_event(ev);
        EXPECT_EQ(game_state, STATE_INTRO);
        EXPECT_EQ(intro_start, 1234u);
        EXPECT_EQ(mouse_look, 1);
        EXPECT_EQ(null_sys.relative_mouse, 1);
        EXPECT_FALSE(quit_requested) << "Esc on the title starts the game";
    }
}

TEST_F(Loop, TitleDropsEverythingElse) {
    handle_event(motion(50, 50));
    handle_event(text("x"));
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(pa, 0.0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    handle_event(quit);
    EXPECT_TRUE(quit_requested);
}

TEST_F(Loop, EscReleasesTheMouseThenQuits) {
    play();
    handle_event(key(SDLK_ESCAPE));
    EXPECT_EQ(mouse_look, 0);
    EXPECT_EQ(null_sys.relative_mouse, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
    EXPECT_FALSE(quit_requested);
    handle_event(key(SDLK_ESCAPE));
    EXPECT_TRUE(quit_requested);
}

TEST_F(Loop, TabTogglesMouseLookAndCursorTogether) {
    play();
    handle_event(key(SDLK_TAB));
    EXPECT_EQ(mouse_look, 0);
    EXPECT_EQ(null_sys.relative_mouse, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
    handle_event(motion(100, 100)); // released: no turning
    EXPECT_EQ(pa, 0.0);
    EXPECT_EQ(cam_pitch, 0.0);
    handle_event(key(SDLK_TAB));
    EXPECT_EQ(mouse_look, 1);
    EXPECT_EQ(null_sys.relative_mouse, 1);
    EXPECT_EQ(null_sys.cursor_shown, 0);
    handle_event(motion(100, -100));
    EXPECT_NEAR(pa, 0.3, 1e-12);
    EXPECT_NEAR(cam_pitch, 0.3, 1e-12);
}

TEST_F(Loop, SwitchKeysActOnEveryPressIncludingRepeats) {
    play();
    handle_event(key(SDLK_m));
    EXPECT_EQ(show_map, 1);
    handle_event(key(SDLK_m));
    EXPECT_EQ(show_map, 0);
    handle_event(key(SDLK_q));
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(flash_vel, 8.0);
    handle_event(key(SDLK_q));
    EXPECT_EQ(flashlight_on, 0);
    EXPECT_EQ(flash_vel, 8.0) << "the kick is upward both ways";
    handle_event(key(SDLK_f));
    EXPECT_EQ(null_sys.fullscreen, 1);
    handle_event(key(SDLK_F11));
    EXPECT_EQ(null_sys.fullscreen, 0);
}

TEST_F(Loop, ChatOpensOnlyInPlay) {
    handle_event(key(SDLK_SPACE)); // intro
    handle_event(key(SDLK_t));
    EXPECT_EQ(chat_open, 0);
    game_state = STATE_PLAY;
    handle_event(key(SDLK_t));
    EXPECT_EQ(chat_open, 1);
    EXPECT_EQ(null_sys.text_input, 1);
    EXPECT_EQ(mouse_look, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
}

TEST_F(Loop, OpenChatTakesKeysAndClicks) {
    play();
    handle_event(key(SDLK_t));
    for (SDL_Keycode k : {SDLK_q, SDLK_m, SDLK_f, SDLK_TAB, SDLK_t}) handle_event(key(k));
    EXPECT_EQ(flashlight_on, 0);
    EXPECT_EQ(show_map, 0);
    EXPECT_EQ(null_sys.fullscreen, 0);
    EXPECT_EQ(mouse_look, 0);
    handle_event(text("hi"));
    EXPECT_EQ(std::string(chat_buf, chat_buf_len), "hi");
    handle_event(key(SDLK_RETURN));
    EXPECT_EQ(chat_msg_total, 1);
    EXPECT_EQ(chat_open, 1) << "sending keeps the console open";
    handle_event(key(SDLK_ESCAPE));
    EXPECT_EQ(chat_open, 0);
    EXPECT_FALSE(quit_requested) << "Esc closes the chat, it does not quit";
    EXPECT_EQ(mouse_look, 1) << "mouse look restored";
    EXPECT_EQ(null_sys.relative_mouse, 1);
    EXPECT_EQ(null_sys.cursor_shown, 0);
    EXPECT_EQ(null_sys.text_input, 0);
    handle_event(text("x")); // closed: typing goes nowhere
    EXPECT_EQ(chat_buf_len, 0);
}

TEST_F(Loop, ClosingRestoresMouseLookOffToo) {
    play();
    handle_event(key(SDLK_TAB)); // release first
    handle_event(key(SDLK_t));
    handle_event(key(SDLK_ESCAPE));
    EXPECT_EQ(mouse_look, 0);
    EXPECT_EQ(null_sys.relative_mouse, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
}

TEST_F(Loop, CloseBoxClickIsTestedInDrawablePixels) {
    play();
    handle_event(key(SDLK_t));
    // Close box at the reference size: x 314..330, y 4..20.
    handle_event(click(SDL_BUTTON_LEFT, 340, 10));
    EXPECT_EQ(chat_open, 1);
    handle_event(click(SDL_BUTTON_RIGHT, 320, 10));
    EXPECT_EQ(chat_open, 1);
    handle_event(click(SDL_BUTTON_LEFT, 330, 20)); // edges included
    EXPECT_EQ(chat_open, 0);

    // A high-DPI window: 960x600 window coordinates, 1920x1200 drawable pixels.
    // The box is at x 624..656, y 8..40 in drawable pixels: window (322, 12).
    null_sys.drawable_w = 1920;
    null_sys.drawable_h = 1200;
    handle_event(key(SDLK_t));
    handle_event(click(SDL_BUTTON_LEFT, 322, 12));
    EXPECT_EQ(chat_open, 0);
}

TEST_F(Loop, DoorClicksNeedPlayAndMouseLook) {
    world_cell(0, 0);
    px = 12.5;
    py = 11.5;
    handle_event(key(SDLK_SPACE)); // intro, mouse captured
    handle_event(click());
    EXPECT_EQ(doors[0].open, 0) << "not in the intro";
    game_state = STATE_PLAY;
    handle_event(click(SDL_BUTTON_RIGHT));
    EXPECT_EQ(doors[0].open, 0);
    handle_event(click());
    EXPECT_EQ(doors[0].open, 1);
    handle_event(key(SDLK_ESCAPE)); // released
    handle_event(click());
    EXPECT_EQ(doors[0].open, 1);
}

TEST_F(Loop, IntroRampsThenHandsOverToPlay) {
    handle_event(key(SDLK_SPACE));
    update_intro(intro_start + 1750);
    EXPECT_EQ(next_state, STATE_INTRO);
    EXPECT_EQ(null_sys.music_volume, 64);
    EXPECT_DOUBLE_EQ(cam_y, 0.3);
    handle_event(key(SDLK_ESCAPE)); // release during the intro
    update_intro(intro_start + 3500);
    EXPECT_EQ(next_state, STATE_PLAY);
    EXPECT_EQ(null_sys.music_volume, 128);
    EXPECT_EQ(null_sys.cursor_shown, 0) << "hidden at the end whatever mouse look is";
    EXPECT_EQ(cam_pitch, 0.0);
    update_intro(intro_start - 1); // stamp later than the frame's tick
    EXPECT_EQ(null_sys.music_volume, 0);
}

TEST_F(Loop, PlayerUpdateReadsKeysAndPlaysSteps) {
    px = 4.5;
    py = 4.5;
    null_sys.keys.forward = true;
    update_player(100, 0.05);
    EXPECT_NEAR(px, 4.58, 1e-12);
    EXPECT_EQ(null_sys.steps_played, 0) << "100 ms after start: not past 600 yet";
    update_player(601, 0.05);
    EXPECT_EQ(null_sys.steps_played, 1);
    EXPECT_EQ(last_step_tick, 601u);
    null_sys.keys.sprint = true;
    update_player(802, 0.05);
    EXPECT_EQ(null_sys.steps_played, 2);
    double bob = bob_t;
    EXPECT_GT(bob, 0.0);

    chat_open = 1; // the console freezes motion, steps and head bob
    update_player(2000, 0.05);
    EXPECT_EQ(null_sys.steps_played, 2);
    EXPECT_EQ(bob_t, bob);
}

TEST_F(Loop, PadButtonsStartTheGameAndActAsTheirKeys) {
    null_sys.focused = 0; // another window has the pad's attention
    handle_event(pad(SDL_CONTROLLER_BUTTON_B));
    EXPECT_EQ(game_state, STATE_TITLE);
    null_sys.focused = 1;
    handle_event(pad(SDL_CONTROLLER_BUTTON_B));
    EXPECT_EQ(game_state, STATE_INTRO);
    EXPECT_EQ(mouse_look, 1);

    world_cell(0, 0); // door 0 is {13, 11}
    px = 12.5;
    py = 11.5;
    handle_event(pad(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(doors[0].open, 0) << "not in the intro";
    game_state = STATE_PLAY;
    handle_event(key(SDLK_ESCAPE)); // mouse released: the pad still opens doors
    handle_event(pad(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(doors[0].open, 1);
    handle_event(key(SDLK_TAB));

    handle_event(pad(SDL_CONTROLLER_BUTTON_X));
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(flash_vel, 8.0);
    handle_event(pad(SDL_CONTROLLER_BUTTON_Y));
    EXPECT_EQ(show_map, 1);
    handle_event(pad(SDL_CONTROLLER_BUTTON_BACK));
    EXPECT_EQ(null_sys.fullscreen, 1);
    for (int b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_GUIDE,
                  SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_DPAD_UP})
        handle_event(pad(b));
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(show_map, 1);
    EXPECT_EQ(doors[0].open, 1);

    null_sys.focused = 0;
    handle_event(pad(SDL_CONTROLLER_BUTTON_Y));
    EXPECT_EQ(show_map, 1) << "unfocused: ignored";
    null_sys.focused = 1;
    handle_event(pad(SDL_CONTROLLER_BUTTON_START)); // the options menu, mouse released
    EXPECT_EQ(menu_open, 1);
    EXPECT_EQ(mouse_look, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
    handle_event(pad(SDL_CONTROLLER_BUTTON_START));
    EXPECT_EQ(menu_open, 0);
    EXPECT_EQ(mouse_look, 1);
    EXPECT_FALSE(quit_requested);
}

TEST_F(Loop, OpenChatLeavesThePadOnlyStart) {
    play();
    px = py = 4.5;
    null_sys.pad_count = 1;
    null_sys.pads[0].left_y = -32768;
    null_sys.pads[0].right_x = 32767;
    handle_event(key(SDLK_t));
    for (int b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                  SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_B})
        handle_event(pad(b));
    update_player(100, 0.05);
    EXPECT_EQ(flashlight_on, 0);
    EXPECT_EQ(show_map, 0);
    EXPECT_EQ(null_sys.fullscreen, 0);
    EXPECT_EQ(px, 4.5);
    EXPECT_EQ(pa, 0.0);
    EXPECT_EQ(chat_open, 1);
    handle_event(pad(SDL_CONTROLLER_BUTTON_START));
    EXPECT_EQ(chat_open, 0);
    EXPECT_FALSE(quit_requested);
    EXPECT_EQ(mouse_look, 1) << "restored as Esc restores it";
    EXPECT_EQ(null_sys.text_input, 0);

    update_player(1000, 0.05); // the sticks drive again
    EXPECT_NEAR(px, 4.5 + 0.08 * std::cos(0.125), 1e-12);
    EXPECT_NEAR(pa, 0.125, 1e-12);
    EXPECT_EQ(null_sys.steps_played, 1);
    null_sys.focused = 0; // ...but not a window in the background
    update_player(1100, 0.05);
    EXPECT_NEAR(pa, 0.125, 1e-12);
}

TEST_F(Loop, PadsArePluggedAndUnpluggedInEveryState) {
    handle_event(plug(SDL_CONTROLLERDEVICEADDED, 2));
    EXPECT_EQ(null_sys.pad_added, 2);
    EXPECT_EQ(game_state, STATE_TITLE) << "plugging in is not a button";
    play();
    handle_event(key(SDLK_t));
    null_sys.focused = 0;
    handle_event(plug(SDL_CONTROLLERDEVICEREMOVED, 7));
    EXPECT_EQ(null_sys.pad_removed, 7);
    handle_event(plug(SDL_CONTROLLERDEVICEADDED, 0));
    EXPECT_EQ(null_sys.pad_added, 0);
}

TEST_F(Loop, DarkPresencePostsOnlyInTheDarkWithoutLight) {
    // Cell (13, 1) is among the darkest: centre sqrt(0.5) from block (3, 0)'s.
    px = 13.5;
    py = 1.5;
    std::srand(7);
    for (int i = 0; i < 200; i++) dark_presence_check();
    EXPECT_GT(chat_msg_total, 90);
    EXPECT_LT(chat_msg_total, 150); // 60 in 100
    EXPECT_TRUE(chat_is_red(chat_msgs[0]));

    int before = chat_msg_total;
    flash_spring = 0.1; // a lit flashlight keeps it away
    for (int i = 0; i < 50; i++) dark_presence_check();
    EXPECT_EQ(chat_msg_total, before);
    flash_spring = 0.0;
    px = 4.5; // a lit cell
    for (int i = 0; i < 50; i++) dark_presence_check();
    EXPECT_EQ(chat_msg_total, before);
}

TEST_F(Loop, OptionsOpenOnOAndStartAndPauseTheGame) {
    handle_event(key(SDLK_o));
    EXPECT_EQ(menu_open, 1);
    EXPECT_EQ(game_state, STATE_TITLE) << "O opens the menu instead of starting";
    handle_event(key(SDLK_ESCAPE));
    EXPECT_EQ(menu_open, 0);
    EXPECT_EQ(game_state, STATE_TITLE) << "Esc only closed the menu";

    handle_event(key(SDLK_SPACE)); // the intro starts at tick 1000
    chat_add_at("hello", 1000);
    null_sys.ticks = 2000;
    handle_event(pad(SDL_CONTROLLER_BUTTON_START));
    EXPECT_EQ(null_sys.relative_mouse, 0);
    EXPECT_EQ(null_sys.cursor_shown, 1);
    handle_event(motion(100, 0));
    EXPECT_EQ(pa, 0.0) << "the mouse is the menu's";
    null_sys.ticks = 7000; // five seconds in the menu
    handle_event(key(SDLK_o));
    EXPECT_EQ(menu_open, 0);
    EXPECT_EQ(intro_start, 6000u) << "the intro waited";
    EXPECT_EQ(chat_msg_times[0], 6000u) << "and so did the messages";
    EXPECT_EQ(mouse_look, 1);
    EXPECT_EQ(null_sys.relative_mouse, 1);

    game_state = STATE_PLAY;
    handle_event(key(SDLK_t));
    handle_event(key(SDLK_o));
    handle_event(pad(SDL_CONTROLLER_BUTTON_START)); // closes the chat, as Esc
    EXPECT_EQ(menu_open, 0) << "the open chat line takes O as text";
    EXPECT_EQ(chat_open, 0);
}

TEST_F(Loop, MenuChangesSettingsAndRebindingSwapsKeys) {
    play();
    handle_event(key(SDLK_o));
    handle_event(key(SDLK_UP)); // wraps round to the last row
    EXPECT_EQ(menu_row_at(menu_row).kind, ROW_QUIT);
    while (SETTINGS[menu_row_at(menu_row).index].number != &field_of_view ||
           menu_row_at(menu_row).kind != ROW_SETTING)
        handle_event(key(SDLK_DOWN));
    handle_event(key(SDLK_RIGHT));
    EXPECT_EQ(field_of_view, 65.0);
    for (int i = 0; i < 10; i++) handle_event(key(SDLK_RIGHT));
    EXPECT_EQ(field_of_view, 90.0);

    while (menu_row_at(menu_row).kind != ROW_CONTROLS) handle_event(key(SDLK_DOWN));
    handle_event(key(SDLK_RETURN));
    for (int i = 0; i < ACTION_FLASHLIGHT; i++) handle_event(key(SDLK_DOWN));
    handle_event(key(SDLK_RETURN));
    handle_event(key(SDLK_m)); // the map's key: the two swap
    EXPECT_EQ(action_keys[ACTION_FLASHLIGHT][0], SDLK_m);
    EXPECT_EQ(action_keys[ACTION_MAP][0], SDLK_q);
    EXPECT_NE(menu_message.find("Map"), std::string::npos) << menu_message;
    handle_event(key(SDLK_RETURN));
    handle_event(key(SDLK_o)); // always the menu's
    EXPECT_EQ(action_keys[ACTION_FLASHLIGHT][0], SDLK_m);
    EXPECT_EQ(menu_message_is_error, 1);
    EXPECT_EQ(menu_open, 1);

    handle_event(key(SDLK_ESCAPE)); // back to the main page
    handle_event(key(SDLK_ESCAPE)); // closed
    EXPECT_EQ(menu_open, 0);
    handle_event(key(SDLK_m));
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(show_map, 0);
    handle_event(key(SDLK_q));
    EXPECT_EQ(show_map, 1);
}

} // namespace

TEST_F(Loop, TitleContinuesTheKeptJourneyOnAnyKeyButN) {
    find_spawn();
    kept_journey(8.5, 2.5);
    handle_event(key(SDLK_RETURN));
    EXPECT_EQ(game_state, STATE_INTRO);
    EXPECT_EQ(px, 8.5);
    EXPECT_EQ(pa, 1.25);
    EXPECT_NEAR(diry, std::sin(1.25), 1e-12);
    EXPECT_EQ(flashlight_on, 1);
    EXPECT_EQ(flash_spring, 1.0) << "lit as it was, without the switch's kick";
    EXPECT_EQ(journey_seconds, 100) << "the time goes on";
    null_sys.ticks += 4000;
    update_intro(null_sys.ticks);
    EXPECT_EQ(cam_pitch, -0.5) << "the intro ends at the kept look";
}

TEST_F(Loop, NewJourneyAsksOnceThenStartsOverAtTheSpawn) {
    find_spawn();
    double spawn = px;
    kept_journey(8.5, 2.5);
    handle_event(key(SDLK_n));
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(title_confirming, 1);
    handle_event(key(SDLK_ESCAPE)); // no: back to Continue, nothing started
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(title_row, 0);
    handle_event(pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    handle_event(pad(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(title_confirming, 1);
    handle_event(pad(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(game_state, STATE_INTRO);
    EXPECT_EQ(px, spawn);
    EXPECT_EQ(journey_seconds, 0);
    EXPECT_EQ(journey_first_x, static_cast<int>(spawn));
    EXPECT_EQ(flashlight_on, 0);
}

TEST_F(Loop, AKeptPlaceInAWallContinuesInTheNearestFreeCell) {
    kept_journey(0.5, 2.5); // the border wall of chunk (0, 0)
    handle_event(click());
    EXPECT_EQ(game_state, STATE_INTRO);
    EXPECT_FALSE(player_collides(px, py));
    EXPECT_LT(std::hypot(px - 0.5, py - 2.5), 1.5);
}

TEST_F(Loop, TheJourneyIsWrittenEveryMinuteOfPlayAndWhenAPageOpens) {
    char tmp[] = "/tmp/drevix-loop-XXXXXX";
    std::string dir = mkdtemp(tmp);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    std::string warning;
    journey_start(&warning);
    std::string file = journey_path;
    auto written = [&] { return std::remove(file.c_str()) == 0; };
    journey_write();
    EXPECT_FALSE(written()) << "nothing is written on the title";
    play();
    journey_frame(59999);
    EXPECT_FALSE(written());
    journey_frame(1);
    EXPECT_TRUE(written()) << "a minute of play";
    journey_frame(59999);
    EXPECT_FALSE(written()) << "the minute counts from the last write";
    handle_event(key(SDLK_o));
    EXPECT_TRUE(written()) << "the menu opened";
    handle_event(key(SDLK_ESCAPE));
    handle_event(key(SDLK_j));
    EXPECT_EQ(map_open, 1);
    EXPECT_TRUE(written()) << "the map opened";
    window_hidden();
    EXPECT_TRUE(written());
    unsetenv("XDG_DATA_HOME");
    std::remove((dir + "/drevix-raycaster").c_str());
    std::remove(dir.c_str());
}

TEST_F(Loop, TheMapHoldsTheGameAndHandsTheMouseBack) {
    play();
    chat_add_at("hello", 1000);
    handle_event(key(SDLK_j));
    EXPECT_EQ(map_open, 1);
    EXPECT_EQ(mouse_look, 0);
    handle_event(key(SDLK_t));
    EXPECT_EQ(chat_open, 0) << "keys are the map's";
    double zoom = map_zoom;
    map_changed = 0;
    handle_event(key(SDLK_PLUS));
    EXPECT_EQ(map_changed, 1) << "drawn again";
    EXPECT_GT(map_zoom, zoom);
    handle_event(key(SDLK_LEFT));
    EXPECT_LT(map_x, px);
    handle_event(key(SDLK_HOME));
    EXPECT_EQ(map_x, px);
    null_sys.ticks += 3000;
    handle_event(key(SDLK_ESCAPE));
    EXPECT_EQ(map_open, 0);
    EXPECT_EQ(mouse_look, 1);
    EXPECT_EQ(chat_msg_times[0], 4000u) << "the messages waited";
    EXPECT_FALSE(quit_requested);
}

TEST_F(Loop, MarkersAreSetAndTakenAwayWithBOnlyInPlay) {
    handle_event(key(SDLK_SPACE));
    handle_event(key(SDLK_b));
    EXPECT_EQ(marker_count, 0) << "not during the intro";
    game_state = STATE_PLAY;
    handle_event(key(SDLK_b));
    ASSERT_EQ(marker_count, 1);
    EXPECT_EQ(notice, "Marker 1 set");
    handle_event(pad(SDL_CONTROLLER_BUTTON_RIGHTSTICK));
    EXPECT_EQ(marker_count, 0);
    for (int i = 0; i < MAX_MARKERS; i++) journey_toggle_marker(100 + i, 0);
    handle_event(key(SDLK_b));
    EXPECT_EQ(marker_count, MAX_MARKERS);
    EXPECT_NE(notice.find("full"), std::string::npos) << notice;
}

TEST_F(Loop, LosingFocusPausesAndMutesAsTheSettingsSay) {
    play();
    handle_event(window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(menu_open, 1) << "pausing is on by default";
    EXPECT_EQ(null_sys.music_volume, -1) << "muting is off by default";
    handle_event(key(SDLK_ESCAPE));
    pause_unfocused = 0;
    mute_unfocused = 1;
    handle_event(window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(menu_open, 0);
    EXPECT_EQ(null_sys.music_volume, 0);
    EXPECT_EQ(null_sys.effects_volume, 0);
    handle_event(window(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(null_sys.effects_volume, 128);
}

TEST_F(Loop, F12KeepsTheNextFrameInEveryStateButTheMenu) {
    handle_event(key(SDLK_F12));
    EXPECT_EQ(null_sys.frames_kept, 1);
    EXPECT_EQ(game_state, STATE_TITLE) << "a picture of the title, not a start";
    play();
    handle_event(key(SDLK_F12));
    EXPECT_EQ(null_sys.frames_kept, 2);
    handle_event(key(SDLK_o));
    handle_event(key(SDLK_F12));
    EXPECT_EQ(null_sys.frames_kept, 2);
}
