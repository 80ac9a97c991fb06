#include "doors.h"

Door doors[MAX_DOORS];
int door_count = 0;

int is_secret_face(int x, int y, int side) {
    return secret_face_slot(x, y, side) >= 0;
}

const Door *door_at(int x, int y) {
    for (int i = 0; i < door_count; i++)
        if (doors[i].active && doors[i].x == x && doors[i].y == y) return &doors[i];
    return nullptr;
}

int door_open_at(int x, int y) {
    for (int i = 0; i < door_count; i++)
        if (doors[i].active && doors[i].open && doors[i].x == x && doors[i].y == y) return 1;
    return 0;
}
