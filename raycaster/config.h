// Every tunable of the game in one place. All are fixed at build time: the
// game reads no configuration.
#pragma once

#include <cstdint>
#include <cstddef>

// World
constexpr int CHUNK_SIZE = 25;
constexpr int MAX_CHUNKS = 512;
constexpr int MAX_DOORS = 256;
constexpr double DOOR_SPAWN_CLEARANCE_SQ = 64.0; // no door within 8 cells of the start

// Player
constexpr double START_X = 2.5;
constexpr double START_Y = 2.5;
constexpr double WALK_SPEED = 1.6;   // cells per second
constexpr double SPRINT_SPEED = 3.2; // cells per second
constexpr double TURN_RATE = 2.5;    // radians per second
constexpr double BOB_RATE = 12.0;    // head-bob phase, radians per second
constexpr double PLAYER_HALF = 0.2;
constexpr double PILLAR_HALF = 0.15;
constexpr uint32_t STEP_MS_SPRINT = 200;
constexpr uint32_t STEP_MS_WALK = 600;
constexpr double DOOR_REACH_SQ = 4.0;
constexpr double MOUSE_SENSITIVITY = 0.003; // radians per pixel
constexpr double PITCH_LIMIT = 1.5707963267948966;
constexpr double EYE_HEIGHT = 0.5;

// Game controllers. Full stick deflection walks and turns as the keys do.
constexpr int MAX_PADS = 8;               // connected at once; more are ignored
constexpr double PAD_DEAD_ZONE = 0.25;    // of full deflection, radial, per stick
constexpr double PAD_TRIGGER_PRESS = 0.5; // a trigger past this counts as held
constexpr double PAD_PITCH_RATE = 1.5;    // radians per second, right stick up or down

// Frame clock
constexpr double MAX_FRAME_DT = 0.05;
constexpr int HIDDEN_WAIT_MS = 100; // longest wait for events while minimised or hidden

// Intro
constexpr double INTRO_SECONDS = 3.5;
constexpr double INTRO_START_PITCH = 0.8;
constexpr double INTRO_START_EYE = 0.1;

// Flashlight spring
constexpr double FLASH_STIFFNESS = 200.0;
constexpr double FLASH_DAMPING = 20.0;
constexpr double FLASH_KICK = 8.0;

// Flashlight beam: the spot light is lit per vertex, so the faces its cone
// falls on are cut into grids whose points lie about BEAM_STEP_DEG apart as
// seen from the eye within BEAM_FINE_REACH cells, further apart beyond, at
// most BEAM_MAX_CUTS pieces a side.
constexpr double BEAM_CUTOFF_DEG = 25.0;
constexpr double BEAM_MARGIN_DEG = 1.0; // faces this close outside the cone count too
constexpr double BEAM_STEP_DEG = 4.0;
constexpr double BEAM_FINE_REACH = 3.0;
constexpr int BEAM_MAX_CUTS = 16;

// Light levels
constexpr double SPAWN_LIGHT_RADIUS_SQ = 25.0;
constexpr int DARK_BLOCK = 4;
constexpr uint32_t DARK_SALT = 0xCAFE;
constexpr uint32_t DARK_SHARE = 12; // per cent of blocks
constexpr double DARK_REACH = 3.5;
constexpr double FLASH_LIFT_RANGE = 6.0;
constexpr double FLASH_LIFT_CONE = 0.7;
constexpr float DARK_LEVEL = 0.5f; // below this a cell counts as dark
constexpr double DARK_FLASH_LIMIT =
    0.1; // flashlight dimmer than this leaves the player in the dark
constexpr int DARK_PRESENCE_CHANCE = 60; // per cent of dark frames that post a message

// Journey
constexpr int MAX_JOURNEY_CHUNKS = 4096; // chunks whose explored cells are kept
constexpr int MAX_MARKERS = 100;
constexpr int FREE_CELL_REACH = 50; // cells searched around a kept place that is walled in
constexpr size_t JOURNEY_MAX_BYTES = 1024 * 1024; // larger files are not read
constexpr uint32_t AUTOSAVE_MS = 60000;           // of play between writes of the journey
