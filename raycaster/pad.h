// Game controllers as the player update sees them: the raw readings of every
// connected pad, reduced to one analogue move, turn and tilt.
#pragma once

#include <cstdint>

// One controller this frame, in the game-controller layer's terms.
struct PadReading {
    int16_t left_x, left_y; // -32768..32767; y grows downward
    int16_t right_x, right_y;
    int16_t left_trigger; // 0 at rest, 32767 pulled fully
    uint32_t buttons;     // bit b: game-controller button b is held
};

// A stick past its dead zone: each axis -1..1, length at most 1.
struct Stick {
    double x, y;
};

// What all pads together ask of the player this frame, as fractions of the
// keys' speeds; the player update adds the keys and clamps.
struct PadMotion {
    double forward, strafe; // positive strafe moves right
    double turn;            // buttons; positive turns right (the heading grows)
    double look;            // the right stick across, times the look speed
    double pitch;           // positive looks up, times the look speed
    bool sprint;
};

// Radial dead zone; beyond it the length is rescaled to start from zero, so
// a resting stick gives exactly nothing and full deflection gives 1.
Stick pad_stick(int16_t x, int16_t y);

// The left stick walks, the right stick turns and tilts, the left trigger
// sprints; buttons act as bound (the d-pad walks and turns, the left stick
// click sprints, unless rebound).
PadMotion pad_motion(const PadReading *pads, int count);
