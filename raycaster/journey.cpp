#include "journey.h"
#include "world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

JourneyChunk journey_chunks[MAX_JOURNEY_CHUNKS];
int journey_chunk_count = 0;
Marker markers[MAX_MARKERS];
int marker_count = 0;
double journey_seconds = 0, journey_distance = 0, journey_farthest = 0;
int journey_first_x = 0, journey_first_y = 0;

namespace {

// Open addressing over the chunk table: slot + 1, 0 empty. Twice the table's
// size keeps probes short when it is full.
constexpr int HASH_SIZE = 2 * MAX_JOURNEY_CHUNKS;
static_assert((HASH_SIZE & (HASH_SIZE - 1)) == 0, "the hash size is a power of two");
int16_t hash_slots[HASH_SIZE];
int last_slot = -1; // the corner map looks at the same chunk cell after cell
int next_marker = 1;
uint32_t change_count = 0;

uint32_t hash_of(int cx, int cy) {
    uint32_t h = static_cast<uint32_t>(cx) * 0x9E3779B1u ^ static_cast<uint32_t>(cy) * 0x85EBCA77u;
    return (h ^ (h >> 15)) & (HASH_SIZE - 1);
}

int find_slot(int cx, int cy, bool add) {
    if (last_slot >= 0 && journey_chunks[last_slot].cx == cx && journey_chunks[last_slot].cy == cy)
        return last_slot;
    for (uint32_t h = hash_of(cx, cy);; h = (h + 1) & (HASH_SIZE - 1)) {
        int s = hash_slots[h] - 1;
        if (s < 0) {
            if (!add || journey_chunk_count == MAX_JOURNEY_CHUNKS) return -1;
            s = journey_chunk_count++;
            journey_chunks[s] = JourneyChunk{cx, cy, {}, {}, ++change_count};
            hash_slots[h] = static_cast<int16_t>(s + 1);
            return last_slot = s;
        }
        if (journey_chunks[s].cx == cx && journey_chunks[s].cy == cy) return last_slot = s;
    }
}

constexpr char B64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int CELL_BYTES = (CHUNK_SIZE * CHUNK_SIZE + 7) / 8;

int b64_value(char c) {
    const char *p = c ? std::strchr(B64, c) : nullptr;
    return p ? static_cast<int>(p - B64) : -1;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Whitespace-separated numbers, all of them and nothing else.
template <typename T> int numbers(std::string_view s, T *out, int n) {
    std::string text(s);
    const char *p = text.c_str();
    for (int i = 0; i < n; i++) {
        char *end = nullptr;
        double v = std::strtod(p, &end);
        if (end == p || !std::isfinite(v)) return 0;
        if constexpr (std::is_integral_v<T>) {
            if (v != std::floor(v) || std::fabs(v) > 1e9) return 0;
        }
        out[i] = static_cast<T>(v);
        p = end;
    }
    while (*p == ' ' || *p == '\t') p++;
    return *p == '\0';
}

std::string num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

} // namespace

void journey_reset(int first_x, int first_y) {
    journey_chunk_count = marker_count = 0;
    std::memset(hash_slots, 0, sizeof hash_slots);
    last_slot = -1;
    next_marker = 1;
    journey_seconds = journey_distance = journey_farthest = 0;
    journey_first_x = first_x;
    journey_first_y = first_y;
}

void journey_explore(int x, int y, int wall) {
    int s = find_slot(chunk_of(x), chunk_of(y), true);
    if (s < 0) return;
    int bit = local_of(y) * CHUNK_SIZE + local_of(x);
    uint64_t mask = uint64_t{1} << (bit % 64);
    JourneyChunk &c = journey_chunks[s];
    uint64_t &seen = c.seen[bit / 64], &walls = c.walls[bit / 64];
    uint64_t new_walls = wall ? walls | mask : walls & ~mask;
    if ((seen & mask) && new_walls == walls) return; // the map's usual case
    seen |= mask;
    walls = new_walls;
    c.changes = ++change_count;
}

int journey_explored(int x, int y) {
    const JourneyChunk *c = journey_chunk(chunk_of(x), chunk_of(y));
    int bit = local_of(y) * CHUNK_SIZE + local_of(x);
    return c && (c->seen[bit / 64] >> (bit % 64) & 1);
}

const JourneyChunk *journey_chunk(int cx, int cy) {
    int s = find_slot(cx, cy, false);
    return s < 0 ? nullptr : &journey_chunks[s];
}

long journey_explored_cells() {
    long n = 0;
    for (int s = 0; s < journey_chunk_count; s++)
        for (uint64_t w : journey_chunks[s].seen) n += __builtin_popcountll(w);
    return n;
}

void journey_walk(double x0, double y0, double x1, double y1) {
    journey_distance += std::hypot(x1 - x0, y1 - y0);
    double far = std::hypot(x1 - (journey_first_x + 0.5), y1 - (journey_first_y + 0.5));
    if (far > journey_farthest) journey_farthest = far;
}

const Marker *marker_at(int x, int y) {
    for (int i = 0; i < marker_count; i++)
        if (markers[i].x == x && markers[i].y == y) return &markers[i];
    return nullptr;
}

int journey_toggle_marker(int x, int y) {
    if (const Marker *m = marker_at(x, y)) {
        int i = static_cast<int>(m - markers);
        for (; i + 1 < marker_count; i++) markers[i] = markers[i + 1];
        marker_count--;
        return MARKER_REMOVED;
    }
    if (marker_count == MAX_MARKERS) return MARKERS_FULL;
    markers[marker_count++] = Marker{x, y, next_marker++};
    return MARKER_SET;
}

std::string journey_pack(const uint64_t bits[JOURNEY_WORDS]) {
    unsigned char bytes[CELL_BYTES + 2] = {};
    for (int i = 0; i < CELL_BYTES; i++)
        bytes[i] = static_cast<unsigned char>(bits[i / 8] >> (8 * (i % 8)));
    std::string out;
    for (int i = 0; i < CELL_BYTES; i += 3) {
        uint32_t v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        int chars = i + 1 == CELL_BYTES ? 2 : i + 2 == CELL_BYTES ? 3 : 4;
        for (int k = 0; k < 4; k++) out += k < chars ? B64[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

int journey_unpack(std::string_view text, uint64_t bits[JOURNEY_WORDS]) {
    constexpr size_t LENGTH = (CELL_BYTES + 2) / 3 * 4;
    if (text.size() != LENGTH) return 0;
    unsigned char bytes[CELL_BYTES + 2] = {};
    for (size_t i = 0, b = 0; i < LENGTH; i += 4) {
        uint32_t v = 0;
        for (size_t k = 0; k < 4; k++) {
            int d = text[i + k] == '=' && b + k > CELL_BYTES ? 0 : b64_value(text[i + k]);
            if (d < 0) return 0;
            v = v << 6 | static_cast<uint32_t>(d);
        }
        for (int k = 0; k < 3; k++) bytes[b++] = static_cast<unsigned char>(v >> (16 - 8 * k));
    }
    // Bits past the chunk's last cell would be cells of no chunk.
    if (bytes[CELL_BYTES - 1] >> (CHUNK_SIZE * CHUNK_SIZE % 8)) return 0;
    for (int w = 0; w < JOURNEY_WORDS; w++) bits[w] = 0;
    for (int i = 0; i < CELL_BYTES; i++) bits[i / 8] |= uint64_t{bytes[i]} << (8 * (i % 8));
    return 1;
}

std::string journey_format(const JourneyPlace &p) {
    std::string out = "# Drevix Raycaster journey, kept by the game as you play. Delete the file\n"
                      "# to start a new journey.\n"
                      "version = 1\n";
    out += "position = " + num(p.x) + " " + num(p.y) + "\n";
    out += "heading = " + num(p.heading) + "\n";
    out += "pitch = " + num(p.pitch) + "\n";
    out += std::string("flashlight = ") + (p.flashlight ? "on" : "off") + "\n";
    out += "time_played = " + num(journey_seconds) + "\n";
    out += "distance = " + num(journey_distance) + "\n";
    out += "farthest = " + num(journey_farthest) + "\n";
    out += "first_cell = " + std::to_string(journey_first_x) + " " +
           std::to_string(journey_first_y) + "\n";
    for (int i = 0; i < marker_count; i++)
        out += "marker = " + std::to_string(markers[i].number) + " " +
               std::to_string(markers[i].x) + " " + std::to_string(markers[i].y) + "\n";
    for (int s = 0; s < journey_chunk_count; s++) {
        const JourneyChunk &c = journey_chunks[s];
        out += "chunk = " + std::to_string(c.cx) + " " + std::to_string(c.cy) + " " +
               journey_pack(c.seen) + " " + journey_pack(c.walls) + "\n";
    }
    return out;
}

int journey_parse(std::string_view text, JourneyPlace *place, int *line, std::string *why) {
    journey_reset(0, 0);
    JourneyPlace p{};
    bool version = false, position = false;
    int number = 0;
    auto fail = [&](const std::string &reason) {
        *line = number;
        *why = reason;
        journey_reset(0, 0);
        return 0;
    };
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view l = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        number++;
        if (l.empty() || l.front() == '#') continue;
        size_t eq = l.find('=');
        if (eq == std::string_view::npos) return fail("not \"key = value\"");
        std::string_view key = trim(l.substr(0, eq)), value = trim(l.substr(eq + 1));
        std::string k(key);
        bool ok = true;
        if (k == "version") {
            ok = value == "1";
            if (!ok) return fail("version " + std::string(value) + " is not one this game reads");
            version = true;
        } else if (k == "position") {
            double xy[2] = {};
            ok = position = numbers(value, xy, 2);
            p.x = xy[0];
            p.y = xy[1];
        } else if (k == "heading") {
            ok = numbers(value, &p.heading, 1);
        } else if (k == "pitch") {
            ok = numbers(value, &p.pitch, 1) && std::fabs(p.pitch) <= 1.5707963267948966;
        } else if (k == "flashlight") {
            ok = value == "on" || value == "off";
            p.flashlight = value == "on";
        } else if (k == "time_played") {
            ok = numbers(value, &journey_seconds, 1) && journey_seconds >= 0;
        } else if (k == "distance") {
            ok = numbers(value, &journey_distance, 1) && journey_distance >= 0;
        } else if (k == "farthest") {
            ok = numbers(value, &journey_farthest, 1) && journey_farthest >= 0;
        } else if (k == "first_cell") {
            int xy[2] = {};
            ok = numbers(value, xy, 2);
            journey_first_x = xy[0];
            journey_first_y = xy[1];
        } else if (k == "marker") {
            int m[3] = {};
            ok = numbers(value, m, 3) && m[0] > 0 && !marker_at(m[1], m[2]);
            if (ok && marker_count == MAX_MARKERS) return fail("more than 100 markers");
            if (ok) {
                markers[marker_count++] = Marker{m[1], m[2], m[0]};
                if (m[0] >= next_marker) next_marker = m[0] + 1;
            }
        } else if (k == "chunk") {
            size_t second = value.rfind(' ');
            size_t first = second == std::string_view::npos ? second : value.rfind(' ', second - 1);
            int c[2] = {};
            uint64_t seen[JOURNEY_WORDS], walls[JOURNEY_WORDS];
            ok = first != std::string_view::npos && numbers(value.substr(0, first), c, 2) &&
                 journey_unpack(value.substr(first + 1, second - first - 1), seen) &&
                 journey_unpack(value.substr(second + 1), walls) && !journey_chunk(c[0], c[1]);
            if (ok && journey_chunk_count == MAX_JOURNEY_CHUNKS) return fail("too many chunks");
            if (ok) {
                JourneyChunk &j = journey_chunks[find_slot(c[0], c[1], true)];
                j.changes = ++change_count;
                for (int w = 0; w < JOURNEY_WORDS; w++) {
                    j.seen[w] = seen[w];
                    j.walls[w] = walls[w] & seen[w];
                }
            }
        } // other keys: written by a later game, and harmless here
        if (!ok) return fail(k + ": \"" + std::string(value) + "\" cannot be used");
    }
    number = 0;
    if (!version) return fail("no version line");
    if (!position) return fail("no position");
    *place = p;
    return 1;
}
