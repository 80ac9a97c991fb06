#include "fresh_world.h"
#include "pad.h"

#include <SDL2/SDL_gamecontroller.h>

#include <cmath>

namespace {

using Player = FreshWorld;

MoveKeys keys(const char *held) {
    MoveKeys k{};
    for (const char *c = held; *c; c++) switch (*c) {
        case 'W':
            k.forward = true;
            break;
        case 'S':
            k.back = true;
            break;
        case 'A':
            k.strafe_left = true;
            break;
        case 'D':
            k.strafe_right = true;
            break;
        case '<':
            k.turn_left = true;
            break;
        case '>':
            k.turn_right = true;
            break;
        case '^':
            k.sprint = true;
            break;
        }
    return k;
}

TEST_F(Player, SpawnSkipsThePillarAtTheStart) {
    find_spawn();
    EXPECT_EQ(px, 3.5);
    EXPECT_EQ(py, 2.5);
}

TEST_F(Player, SpawnWalksEastPastWallsButStopsAtOpenDoors) {
    // Row 2 of chunk (0, 0): a wall at lx 0 and 24. Start inside the border.
    px = 24.5;
    find_spawn(); // (24, 2) wall, (25, 2) wall of chunk (1, 0)'s ring, ...
    EXPECT_NE(world_cell(int(std::floor(px)), 2), CELL_WALL);
    EXPECT_EQ(world_cell(24, 2), CELL_WALL);
    EXPECT_GT(px, 25.0);

    doors[0] = Door{24, 2, 0, 1, 1}; // an open door ends the search at once
    door_count = 1;
    px = 24.5;
    find_spawn();
    EXPECT_EQ(px, 24.5);
}

TEST_F(Player, DoorToggleNeedsReachAndPicksTheNearest) {
    world_cell(0, 0); // door 0 is {13, 11}
    ASSERT_EQ(door_count, 1);
    px = 12.5;
    py = 11.5; // squared distance 1
    toggle_nearest_door();
    EXPECT_EQ(doors[0].open, 1);
    EXPECT_EQ(player_collides(13.5, 11.5), 0) << "an open door is walkable";
    toggle_nearest_door();
    EXPECT_EQ(doors[0].open, 0);
    EXPECT_EQ(player_collides(13.5, 11.5), 1);

    px = 11.5; // exactly 2.0 away: out of reach
    toggle_nearest_door();
    EXPECT_EQ(doors[0].open, 0);
}

TEST_F(Player, DoorToggleTiesKeepTheEarlierRecordAndSkipInactive) {
    doors[0] = Door{10, 10, 0, 0, 0}; // inactive, nearest
    doors[1] = Door{11, 10, 0, 0, 1};
    doors[2] = Door{9, 10, 0, 0, 1}; // same distance as door 1
    door_count = 3;
    px = 10.5;
    py = 10.5;
    toggle_nearest_door();
    EXPECT_EQ(doors[0].open, 0);
    EXPECT_EQ(doors[1].open, 1);
    EXPECT_EQ(doors[2].open, 0);

    door_count = 0; // records past door_count do not exist
    toggle_nearest_door();
    EXPECT_EQ(doors[1].open, 1);
}

TEST_F(Player, CollisionTouchingPillarsPassesOverlappingBlocks) {
    // Pillar in cell (2, 2): the square 2.35..2.65 on both axes.
    ASSERT_EQ(world_cell(2, 2), CELL_PILLAR);
    EXPECT_EQ(player_collides(2.15, 2.5), 0); // edges touch
    EXPECT_EQ(player_collides(2.16, 2.5), 1);
    EXPECT_EQ(player_collides(2.85, 2.5), 0);
    EXPECT_EQ(player_collides(2.84, 2.5), 1);
    EXPECT_EQ(player_collides(2.5, 2.15), 0);
    EXPECT_EQ(player_collides(2.5, 2.16), 1);
    EXPECT_EQ(player_collides(2.2, 2.2), 1); // corner overlap
    // The cell range takes the floor of x + 0.2, so a wall on the high side
    // blocks a square that merely touches it (column 24 is the border)...
    EXPECT_EQ(player_collides(23.8, 4.5), 1);
    EXPECT_EQ(player_collides(23.79, 4.5), 0);
    // ...while on the low side touching is not overlapping (column 0).
    EXPECT_EQ(player_collides(1.2, 4.5), 0);
    EXPECT_EQ(player_collides(1.19, 4.5), 1);
}

TEST_F(Player, WallsAreSlidAlong) {
    // Row 0 of chunk (0, 0) is wall at lx 4: push diagonally into it.
    px = 4.5;
    py = 1.25;
    player_rotate(-M_PI / 4); // toward -y and +x
    player_move(keys("W"), 0.05);
    EXPECT_GT(px, 4.5);
    EXPECT_EQ(py, 1.25);

    double x0 = px;
    pa = 0;
    player_rotate(-M_PI / 2); // head on into the wall
    uint32_t interval = player_move(keys("W"), 0.05);
    EXPECT_NEAR(px, x0, 1e-12);
    EXPECT_EQ(py, 1.25);
    EXPECT_EQ(interval, 600u) << "pushing against a wall still counts as walking";
}

TEST_F(Player, MovementKeysAndSpeeds) {
    px = 4.5;
    py = 4.5;
    EXPECT_EQ(player_move(keys("WS"), 0.05), 0u); // cancel: not moving
    EXPECT_EQ(px, 4.5);
    EXPECT_EQ(player_move(keys("W"), 0.05), 600u);
    EXPECT_NEAR(px, 4.5 + 1.6 * 0.05, 1e-12);
    EXPECT_EQ(player_move(keys("W^"), 0.05), 200u);
    EXPECT_NEAR(px, 4.5 + 4.8 * 0.05, 1e-12);
    EXPECT_EQ(player_move(keys("D"), 0.05), 600u); // strafe right = +y at heading 0
    EXPECT_NEAR(py, 4.5 + 0.08, 1e-12);
    EXPECT_EQ(player_move(keys("WSA"), 0.05), 600u);
    EXPECT_NEAR(py, 4.5, 1e-12);

    double before = pa;
    player_move(keys("<>"), 0.05);
    EXPECT_NEAR(pa, before, 1e-15);
    player_move(keys(">"), 0.1);
    EXPECT_NEAR(pa, before + 0.25, 1e-12);
    EXPECT_EQ(dirx, std::cos(pa));
    EXPECT_EQ(diry, std::sin(pa));
}

TEST_F(Player, DiagonalIsNotNormalised) {
    px = 4.5;
    py = 4.5;
    player_move(keys("WD"), 0.05);
    EXPECT_NEAR(std::hypot(px - 4.5, py - 4.5), std::sqrt(2.0) * 0.08, 1e-12);
}

TEST_F(Player, HeadBobOnlyWhileSprintingAndMoving) {
    px = 4.5;
    py = 4.5;
    player_move(keys("W^"), 0.05);
    player_move(keys("W^"), 0.05);
    EXPECT_NEAR(bob_t, 1.2, 1e-12);
    player_move(keys("W"), 0.05); // Shift released: drops at once
    EXPECT_EQ(bob_t, 0.0);
    player_move(keys("^"), 0.05); // Shift alone
    EXPECT_EQ(bob_t, 0.0);
}

TEST_F(Player, FootstepIntervals) {
    uint32_t last = 0;
    EXPECT_EQ(footstep_due(601, &last, 600), 1) << "first step as soon as moving";
    EXPECT_EQ(last, 601u);
    EXPECT_EQ(footstep_due(1201, &last, 600), 0); // exactly 600 later: not yet
    EXPECT_EQ(footstep_due(1202, &last, 600), 1);
    EXPECT_EQ(footstep_due(1402, &last, 200), 0);
    EXPECT_EQ(footstep_due(1403, &last, 200), 1);
}

TEST_F(Player, MouseLookTurnsAndClampsPitch) {
    mouse_look_motion(100, 0);
    EXPECT_NEAR(pa, 0.3, 1e-12);
    EXPECT_EQ(dirx, std::cos(pa));
    mouse_look_motion(0, -100); // mouse up looks up
    EXPECT_NEAR(cam_pitch, 0.3, 1e-12);
    mouse_look_motion(0, -10000);
    EXPECT_EQ(cam_pitch, 1.5707963267948966);
    mouse_look_motion(0, 20000);
    EXPECT_EQ(cam_pitch, -1.5707963267948966);
    mouse_look_motion(100000, 0);
    EXPECT_GT(pa, 300.0) << "heading is never wrapped";
}

TEST(Pad, DeadZoneIsRadialAndTheRestStartsFromZero) {
    EXPECT_EQ(pad_stick(0, 0).x, 0.0);
    Stick s = pad_stick(8000, -5700); // length 0.30 of full; neither axis alone
    EXPECT_GT(s.x, 0.0);              // reaches 0.25, so a square zone would drop it
    EXPECT_LT(s.y, 0.0);
    s = pad_stick(5800, -5800); // length 0.2503 of full: just past the zone
    EXPECT_GT(s.x, 0.0);
    EXPECT_LT(std::hypot(s.x, s.y), 0.001);
    s = pad_stick(5700, 5700); // length 0.246: inside, a resting pad's wobble
    EXPECT_EQ(s.x, 0.0);
    EXPECT_EQ(s.y, 0.0);
    EXPECT_NEAR(pad_stick(20479, 0).x, 0.5, 1e-4); // 0.625 of full: half way
    EXPECT_EQ(pad_stick(32767, 0).x, 1.0);
    EXPECT_EQ(pad_stick(0, -32768).y, -1.0);
    s = pad_stick(32767, 32767); // corners of square gates stop at length 1
    EXPECT_NEAR(std::hypot(s.x, s.y), 1.0, 1e-12);
    EXPECT_NEAR(s.x, s.y, 1e-15);
}

PadReading stick_at(int16_t lx, int16_t ly, int16_t rx = 0, int16_t ry = 0) {
    PadReading p{};
    p.left_x = lx;
    p.left_y = ly;
    p.right_x = rx;
    p.right_y = ry;
    return p;
}

// Distance walked in one 0.05 s frame from (4.5, 4.5), heading 0.
double walked(const MoveKeys &k, const PadReading *pads, int count, uint32_t *interval = nullptr) {
    px = py = 4.5;
    uint32_t i = player_move(k, 0.05, pad_motion(pads, count));
    if (interval) *interval = i;
    return std::hypot(px - 4.5, py - 4.5);
}

TEST_F(Player, SticksWalkAtTheKeySpeedsAndNeverFaster) {
    PadReading full = stick_at(0, -32768), half = stick_at(0, -20479);
    uint32_t interval = 0;
    EXPECT_NEAR(walked(keys(""), &full, 1, &interval), 0.08, 1e-12);
    EXPECT_EQ(interval, 600u);
    EXPECT_NEAR(px, 4.58, 1e-12) << "stick up walks forward";
    EXPECT_NEAR(walked(keys(""), &half, 1), 0.04, 1e-5);
    EXPECT_NEAR(walked(keys("W"), &full, 1), 0.08, 1e-12) << "key and stick: once";
    PadReading two[2] = {full, full};
    EXPECT_NEAR(walked(keys(""), two, 2), 0.08, 1e-12) << "two pads: once";
    PadReading diagonal = stick_at(32767, -32767);
    EXPECT_NEAR(walked(keys(""), &diagonal, 1), 0.08, 1e-12);
    EXPECT_GT(py, 4.5) << "stick right strafes right";
    PadReading back = stick_at(0, 32767);
    EXPECT_EQ(walked(keys("W"), &back, 1, &interval), 0.0);
    EXPECT_EQ(interval, 0u) << "cancelled: no footsteps";
    two[1] = stick_at(5000, -5000); // a second pad at rest adds nothing
    EXPECT_NEAR(walked(keys(""), two, 2), 0.08, 1e-12);

    PadReading dpad{};
    dpad.buttons = 1u << SDL_CONTROLLER_BUTTON_DPAD_UP;
    EXPECT_NEAR(walked(keys(""), &dpad, 1), 0.08, 1e-12);
    dpad.left_y = -32768;
    EXPECT_NEAR(walked(keys("W"), &dpad, 1), 0.08, 1e-12);

    PadReading sprint = full;
    sprint.left_trigger = 16383; // not yet past half way
    EXPECT_NEAR(walked(keys(""), &sprint, 1), 0.08, 1e-12);
    sprint.left_trigger = 16500;
    EXPECT_NEAR(walked(keys(""), &sprint, 1, &interval), 0.16, 1e-12);
    EXPECT_EQ(interval, 200u);
    EXPECT_GT(bob_t, 0.0);
    sprint.left_trigger = 0;
    sprint.buttons = 1u << SDL_CONTROLLER_BUTTON_LEFTSTICK;
    EXPECT_NEAR(walked(keys("W^"), &sprint, 1), 0.16, 1e-12);
}

TEST_F(Player, RightStickAndDpadTurnAtTheArrowRateAndTiltWithinLimits) {
    px = py = 4.5;
    PadReading right = stick_at(0, 0, 32767, 0);
    player_move(keys(""), 0.1, pad_motion(&right, 1));
    EXPECT_NEAR(pa, 0.25, 1e-12);
    EXPECT_EQ(dirx, std::cos(pa));
    player_move(keys(">"), 0.1, pad_motion(&right, 1));
    EXPECT_NEAR(pa, 0.5, 1e-12) << "arrow and stick: once";
    PadReading dpad{};
    dpad.buttons = 1u << SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    player_move(keys("<"), 0.1, pad_motion(&dpad, 1));
    EXPECT_NEAR(pa, 0.25, 1e-12);
    EXPECT_EQ(cam_pitch, 0.0);

    PadReading up = stick_at(0, 0, 0, -32768);
    player_move(keys(""), 0.05, pad_motion(&up, 1));
    EXPECT_NEAR(cam_pitch, 0.075, 1e-12) << "stick up looks up";
    for (int i = 0; i < 40; i++) player_move(keys(""), 0.05, pad_motion(&up, 1));
    EXPECT_EQ(cam_pitch, 1.5707963267948966);
    PadReading down = stick_at(0, 0, 0, 32767);
    for (int i = 0; i < 80; i++) player_move(keys(""), 0.05, pad_motion(&down, 1));
    EXPECT_EQ(cam_pitch, -1.5707963267948966);
    EXPECT_EQ(px, 4.5) << "looking around does not walk";
}

TEST_F(Player, ShutDoorBlocksAPlayerStandingInIt) {
    world_cell(0, 0);
    doors[0].open = 1;
    px = 13.5;
    py = 11.5;
    ASSERT_EQ(player_collides(px, py), 0);
    doors[0].open = 0;
    player_move(keys("W"), 0.05);
    EXPECT_EQ(px, 13.5);
    EXPECT_EQ(py, 11.5);
}

} // namespace
