// The player: position, heading and camera, keyboard motion with collision,
// mouse look and the door click.
#pragma once

#include "pad.h"

#include <cstdint>

extern double px, py;     // centre of the player, in cells
extern double pa;         // heading; never wrapped
extern double dirx, diry; // cos and sin of pa
extern double cam_pitch;  // radians, positive looks up
extern double cam_y;      // eye height
extern double bob_t;      // head-bob phase
// Soak runs only: walls do not stop the player, and motion is this many
// times faster, so a scripted run fills the chunk cache in minutes.
extern int player_noclip;
extern double player_speed_scale;

// Movement keys held this frame, by physical position.
struct MoveKeys {
    bool forward, back;             // W / Up, S / Down
    bool strafe_left, strafe_right; // A, D
    bool turn_left, turn_right;     // Left, Right
    bool sprint;                    // either Shift
};

void player_reset(); // start values, before the spawn search
void player_rotate(double angle);
int player_collides(double x, double y);
void toggle_nearest_door();
void find_spawn(); // walks east along row 2 from px to the first free cell
// (x, y) when the player fits there, else the centre of the nearest free
// cell within FREE_CELL_REACH cells. 0 when there is none.
int free_place_near(double x, double y, double *fx, double *fy);

// One frame of key and controller motion: turning, tilting, sliding along
// walls, head bob. Keys and sticks add up per axis but never past what the
// keys alone give. Returns the footstep interval in ms while moving, 0 when
// standing still.
uint32_t player_move(const MoveKeys &keys, double dt, const PadMotion &pad = {});

// 1 when a footstep is due at tick `now`; renews *last_step_tick then.
int footstep_due(uint32_t now, uint32_t *last_step_tick, uint32_t interval);

// Mouse look for one motion event: turn by xrel, tilt by yrel, pitch clamped.
void mouse_look_motion(int xrel, int yrel);
