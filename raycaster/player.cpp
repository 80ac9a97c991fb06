#include "player.h"
#include "config.h"
#include "doors.h"
#include "settings.h"
#include "world.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

double px = START_X, py = START_Y;
double pa = 0.0;
double dirx = 1.0, diry = 0.0;
double cam_pitch = 0.0;
double cam_y = EYE_HEIGHT;
double bob_t = 0.0;
int player_noclip = 0;
double player_speed_scale = 1.0;

void player_reset() {
    pa = 0.0;
    diry = 0.0;
    px = START_X;
    py = START_Y;
    dirx = 1.0;
    cam_pitch = 0.0;
    cam_y = EYE_HEIGHT;
    bob_t = 0.0;
}

void player_rotate(double angle) {
    pa += angle;
    dirx = std::cos(pa); // the compiler pairs these into one sincos
    diry = std::sin(pa);
}

static int ifloor(double v) {
    return static_cast<int>(std::floor(v));
}

int player_collides(double x, double y) {
    int r0 = ifloor(y - PLAYER_HALF), r1 = ifloor(y + PLAYER_HALF);
    int c0 = ifloor(x - PLAYER_HALF), c1 = ifloor(x + PLAYER_HALF);
    for (int row = r0; row <= r1; row++)
        for (int col = c0; col <= c1; col++) {
            int code = world_cell(col, row);
            if (code == CELL_WALL) {
                if (!door_open_at(col, row)) return 1;
            } else if (code == CELL_PILLAR) {
                constexpr double lo = 0.35, hi = 0.65; // the pillar square within its cell
                if (x + PLAYER_HALF > col + lo && col + hi > x - PLAYER_HALF &&
                    y + PLAYER_HALF > row + lo && row + hi > y - PLAYER_HALF)
                    return 1;
            }
        }
    return 0;
}

void toggle_nearest_door() {
    int best = -1;
    double best_d2 = DOOR_REACH_SQ;
    for (int i = 0; i < door_count; i++) {
        if (!doors[i].active) continue;
        double dx = px - (doors[i].x + 0.5), dy = py - (doors[i].y + 0.5);
        double d2 = dx * dx + dy * dy;
        if (d2 < best_d2) { // strict: ties keep the earlier record
            best_d2 = d2;
            best = i;
        }
    }
    if (best >= 0) doors[best].open = doors[best].open ? 0 : 1;
}

void find_spawn() {
    for (;;) {
        int x = ifloor(px);
        int code = world_cell(x, 2);
        if (code == CELL_WALL) {
            if (door_open_at(x, 2)) return;
        } else if (code == CELL_PILLAR) {
            if (!(std::fabs(px - (x + 0.5)) < PILLAR_HALF)) return;
        } else {
            return;
        }
        px += 1.0;
    }
}

static double unit(double v) {
    return std::clamp(v, -1.0, 1.0);
}

static void clamp_pitch() {
    cam_pitch = std::clamp(cam_pitch, -PITCH_LIMIT, PITCH_LIMIT);
}

uint32_t player_move(const MoveKeys &keys, double dt, const PadMotion &pad) {
    bool sprint = keys.sprint || pad.sprint;
    double step = (sprint ? SPRINT_SPEED : WALK_SPEED) * dt * player_speed_scale;
    double forward = unit(keys.forward - keys.back + pad.forward) * step;
    double strafe = unit(keys.strafe_right - keys.strafe_left + pad.strafe) * step;
    // Keys, buttons and sticks together never pass full speed, which a
    // faster look speed raises for the stick.
    double most = std::max(1.0, pad_look_speed);
    double turn = std::clamp(keys.turn_right - keys.turn_left + pad.turn + pad.look, -most, most);
    if (turn != 0.0) player_rotate(turn * TURN_RATE * dt);
    if (pad.pitch != 0.0) {
        cam_pitch += std::clamp(pad.pitch, -most, most) * PAD_PITCH_RATE * dt;
        clamp_pitch();
    }

    double nx = px + forward * dirx - strafe * diry;
    double ny = py + forward * diry + strafe * dirx;
    if (player_noclip || !player_collides(nx, py)) px = nx;
    if (player_noclip || !player_collides(px, ny)) py = ny;

    bool moving = forward != 0.0 || strafe != 0.0;
    if (sprint && moving) {
        bob_t = head_bob ? bob_t + BOB_RATE * dt : 0.0; // footsteps go on without the sway
        return STEP_MS_SPRINT;
    }
    bob_t = 0.0;
    return moving ? STEP_MS_WALK : 0;
}

int footstep_due(uint32_t now, uint32_t *last_step_tick, uint32_t interval) {
    if (static_cast<uint32_t>(now - *last_step_tick) <= interval) return 0;
    *last_step_tick = now;
    return 1;
}

void mouse_look_motion(int xrel, int yrel) {
    double rate = MOUSE_SENSITIVITY * mouse_sensitivity;
    player_rotate(xrel * rate);
    cam_pitch -= (invert_mouse_y ? -yrel : yrel) * rate;
    clamp_pitch();
}

int free_place_near(double x, double y, double *fx, double *fy) {
    if (!player_collides(x, y)) {
        *fx = x;
        *fy = y;
        return 1;
    }
    int cx = ifloor(x), cy = ifloor(y);
    // Ring by ring; within a ring the nearest centre. A cell of the next
    // ring can be nearer only by less than a cell, which no player sees.
    for (int r = 0; r <= FREE_CELL_REACH; r++) {
        double best = -1;
        for (int row = cy - r; row <= cy + r; row++)
            for (int col = cx - r; col <= cx + r; col++) {
                if (std::max(std::abs(row - cy), std::abs(col - cx)) != r) continue;
                if (player_collides(col + 0.5, row + 0.5)) continue;
                double d = std::hypot(col + 0.5 - x, row + 0.5 - y);
                if (best < 0 || d < best) {
                    best = d;
                    *fx = col + 0.5;
                    *fy = row + 0.5;
                }
            }
        if (best >= 0) return 1;
    }
    return 0;
}
