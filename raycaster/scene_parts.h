// Shared pieces of the two scene paths: the straightforward immediate-mode
// passes (scene_reference.cpp) and the batched ones (scene_fast.cpp), which
// must draw exactly the same pixels.
#pragma once

#include "beam.h"
#include "doors.h"
#include "player.h"
#include "textures.h"

#include <SDL2/SDL_opengl.h>
#include <cmath>

constexpr int VIEW_CELLS = 49;            // each side of the player's cell
constexpr double VIEW_RADIUS_SQ = 2304.0; // 48 cells, where the fog ends
constexpr float FLOOR_H = -0.001f, CEIL_H = 1.001f;
constexpr float FLOOR_REPEATS = 4.0f, CEIL_REPEATS = 2.0f;
constexpr float TOP_SHADE = 0.45f;

// A wall face runs between two bottom corners a and b; each corner takes
// the light of the cell just outside the face in its own row or column.
struct Face {
    float nx, nz;
    int ax, az, alx, alz; // corner a and its light cell, relative to (X, Y)
    int bx, bz, blx, blz;
};
constexpr Face FACES[4] = {
    {-1, 0, 0, 0, -1, 0, 0, 1, -1, 1}, // x = X, facing -x
    {1, 0, 1, 1, 1, 1, 1, 0, 1, 0},    // x = X + 1, facing +x
    {0, -1, 1, 0, 1, -1, 0, 0, 0, -1}, // z = Y, facing -z
    {0, 1, 0, 1, 0, 1, 1, 1, 1, 1},    // z = Y + 1, facing +z
};

// A face is drawn only while the eye is strictly on its outer side.
inline bool faces_eye(int x, int y, int side) {
    switch (side) {
    case 0:
        return x > px;
    case 1:
        return px > x + 1.0;
    case 2:
        return y > py;
    default:
        return py > y + 1.0;
    }
}

// Pillar sides: low x, high x, low y, high y.
struct PillarSide {
    bool seen;
    float nx, nz;
    int lx, ly; // the neighbouring cell whose light the side takes
    double ax, az, bx, bz;
};
inline void pillar_sides(int x, int y, PillarSide (&out)[4]) {
    constexpr double half = 0.15;
    double x0 = (x + 0.5) - half, x1 = (x + 0.5) + half;
    double z0 = (y + 0.5) - half, z1 = (y + 0.5) + half;
    out[0] = {x0 > px, -1, 0, x - 1, y, x0, z0, x0, z1};
    out[1] = {px > x1, 1, 0, x + 1, y, x1, z1, x1, z0};
    out[2] = {z0 > py, 0, -1, x, y - 1, x1, z0, x0, z0};
    out[3] = {py > z1, 0, 1, x, y + 1, x0, z1, x1, z1};
}

inline GLuint secret_texture(int x, int y) {
    const Door *d = door_at(x, y);
    if (!d) return tex_secret;
    return d->open ? tex_door_open : tex_door_closed;
}

inline bool in_view_disc(int x, int y) {
    double dx = x + 0.5 - px, dy = y + 0.5 - py;
    return dx * dx + dy * dy <= VIEW_RADIUS_SQ;
}

// A face's corner: position, texture coordinates and light level.
struct Corner {
    double x, y, z, s, t;
    float l;
};

// The corners of floor or ceiling cell (x, y) at `height`, each lit by the
// cell whose low corner it is: l[0] (x, y), l[1] (x + 1, y), l[2]
// (x + 1, y + 1), l[3] (x, y + 1).
struct FaceCorners {
    Corner c[4];
};
inline FaceCorners flat_corners(int x, int y, float height, float repeats, const float (&l)[4]) {
    float x0 = static_cast<float>(x), x1 = static_cast<float>(x + 1);
    float y0 = static_cast<float>(y), y1 = static_cast<float>(y + 1);
    return {{{x0, height, y0, repeats * x0, repeats * y0, l[0]},
             {x1, height, y0, repeats * x1, repeats * y0, l[1]},
             {x1, height, y1, repeats * x1, repeats * y1, l[2]},
             {x0, height, y1, repeats * x0, repeats * y1, l[3]}}};
}

// The corners of an upright face from bottom corner a to b: texture s runs
// from 0 to s1 and t from t0 at the floor to t1 at the top; the top corners
// take TOP_SHADE of the light of the corner below them.
inline FaceCorners upright_corners(double ax, double az, double bx, double bz, double s1, double t0,
                                   double t1, float la, float lb) {
    return {{{ax, 0, az, 0, t0, la},
             {bx, 0, bz, s1, t0, lb},
             {bx, 1, bz, s1, t1, TOP_SHADE * lb},
             {ax, 1, az, 0, t1, TOP_SHADE * la}}};
}

// How the beam cuts a face with these corners (c0 -> c1 along u, c0 -> c3
// along v); one piece while the light is off.
inline Grid face_grid(const Corner (&c)[4]) {
    if (!beam.on) return Grid{1, 1, 1, 1, 1, 1};
    const P3 p[4] = {{c[0].x, c[0].y, c[0].z},
                     {c[1].x, c[1].y, c[1].z},
                     {c[2].x, c[2].y, c[2].z},
                     {c[3].x, c[3].y, c[3].z}};
    return beam_grid(p);
}

// Grid point (i, j) of a face cut as g: position, texture coordinates and
// light interpolated from the whole face's corners, so that only the
// flashlight's term gains detail. Points on an edge follow that edge's own
// cuts, and (1 - t) a + t b gives the ends exactly, so faces sharing an edge
// place its points identically.
inline Corner grid_point(const Corner (&c)[4], const Grid &g, int i, int j) {
    double u = j == 0     ? grid_at(i, g.u, g.bottom)
               : j == g.v ? grid_at(i, g.u, g.top)
                          : static_cast<double>(i) / g.u;
    double v = i == 0     ? grid_at(j, g.v, g.left)
               : i == g.u ? grid_at(j, g.v, g.right)
                          : static_cast<double>(j) / g.v;
    auto at = [&](auto field) {
        double low = (1 - u) * c[0].*field + u * c[1].*field;
        double high = (1 - u) * c[3].*field + u * c[2].*field;
        return (1 - v) * low + v * high;
    };
    return {at(&Corner::x), at(&Corner::y), at(&Corner::z),
            at(&Corner::s), at(&Corner::t), static_cast<float>(at(&Corner::l))};
}

// The quads of a grid, each as its four grid points in the face's own
// winding: (i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1).
template <typename Quad> void for_grid_quads(const Grid &g, Quad quad) {
    for (int j = 0; j < g.v; j++)
        for (int i = 0; i < g.u; i++) quad(i, j);
}

void render_passes_reference();
void render_passes_fast();
