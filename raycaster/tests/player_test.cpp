#include "fresh_world.h"

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
