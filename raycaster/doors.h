// Doors sit on secret wall faces; they are created by chunk generation and
// only ever toggled afterwards.
#pragma once

#include "config.h"

struct Door {
    int x, y; // world cell of the door
    int side; // face number of the door face (kept for reference)
    int open;
    int active;
};

extern Door doors[MAX_DOORS];
extern int door_count;

// 1 when face `side` of world cell (x, y) is the secret face of a cached chunk.
int is_secret_face(int x, int y, int side);

// The first active door record on cell (x, y), or null.
const Door *door_at(int x, int y);

// 1 when some active record on cell (x, y) is open: the wall cell is walkable.
int door_open_at(int x, int y);

// Slot of the cached chunk whose secret face this is, or -1 (world.cpp).
int secret_face_slot(int x, int y, int side);
