// The journey: what is kept of a walk from one start to the next. The
// cells the corner map has shown (a bit per cell, packed per chunk), the
// markers, the time played, the distance walked and the farthest the
// player has been from the first cell; the file's text and back.
#pragma once

#include "config.h"

#include <cstdint>
#include <string>
#include <string_view>

constexpr int JOURNEY_WORDS = (CHUNK_SIZE * CHUNK_SIZE + 63) / 64;

struct JourneyChunk {
    int cx, cy;
    // Bit local_y * CHUNK_SIZE + local_x: the cell was seen, and it was not
    // open floor (a wall, a door or a pillar), as the corner map showed it.
    uint64_t seen[JOURNEY_WORDS], walls[JOURNEY_WORDS];
    uint32_t changes; // a new number, never used before, whenever a bit changes
};
struct Marker {
    int x, y;   // world cell
    int number; // in the order markers were set, from 1
};

extern JourneyChunk journey_chunks[MAX_JOURNEY_CHUNKS];
extern int journey_chunk_count;
extern Marker markers[MAX_MARKERS];
extern int marker_count;
extern double journey_seconds;  // time played
extern double journey_distance; // cells walked
extern double journey_farthest; // cells, from the first cell's centre
extern int journey_first_x, journey_first_y;

// Where the player stood, as the file keeps it.
struct JourneyPlace {
    double x, y, heading, pitch;
    int flashlight;
};

// A new journey whose first cell is (x, y).
void journey_reset(int first_x, int first_y);

// Marks a cell as seen, open or not. When the table of chunks is full,
// cells of new chunks are not kept: the map shows the ground already seen.
void journey_explore(int x, int y, int wall);
int journey_explored(int x, int y);
long journey_explored_cells();
// The chunk's bits, or null when none of its cells was seen.
const JourneyChunk *journey_chunk(int cx, int cy);

// One frame's walk from (x0, y0) to (x1, y1).
void journey_walk(double x0, double y0, double x1, double y1);

enum : int { MARKER_REMOVED = -1, MARKERS_FULL = 0, MARKER_SET = 1 };
// Sets a marker on (x, y), or takes away the one there.
int journey_toggle_marker(int x, int y);
const Marker *marker_at(int x, int y);

// The file's text for the journey so far and the given place.
std::string journey_format(const JourneyPlace &place);
// Reads a file's text into the journey and *place. 0 when the text is not
// a journey this game can use: *line (1-based, 0 for the whole text) and
// *why say what is wrong, and the journey is left as a fresh one.
int journey_parse(std::string_view text, JourneyPlace *place, int *line, std::string *why);

// 625 bits as text and back: base64 of the bits' bytes, least significant
// bit of each byte first.
std::string journey_pack(const uint64_t bits[JOURNEY_WORDS]);
int journey_unpack(std::string_view text, uint64_t bits[JOURNEY_WORDS]);
