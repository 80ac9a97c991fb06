// The flashlight's beam as geometry. The spot light is lit at vertices only,
// so a whole-cell quad shows the light as a flat wash with hard cell edges.
// Faces the cone falls on are therefore drawn as grids of smaller quads,
// finer near the eye, so the pool of light comes out round with a soft rim.
//
// Neighbouring faces cut a shared edge at the same points, whatever each
// does inside, so the grids meet without gaps or seams.
#pragma once

struct P3 {
    double x, y, z;
};

// The light's position and unit direction for this frame; `on` is 0 while
// the light is off, and then nothing is cut.
struct Beam {
    int on;
    P3 eye, dir;
};
extern Beam beam;
void beam_begin_frame(int on, P3 eye, P3 dir);

// How a rectangle with corners c[0..3] (c0 -> c1 along u, c0 -> c3 along v)
// is cut: u x v quads inside; its edges c0c1 (bottom), c3c2 (top), c0c3
// (left) and c1c2 (right) in the given number of pieces. A rectangle the
// cone does not reach stays whole.
struct Grid {
    int u, v;
    int bottom, top, left, right;
};
Grid beam_grid(const P3 (&c)[4]);

// Where grid point i of n along an edge cut in `pieces` lies, from 0 to 1:
// points snap to the edge's own cuts, so both faces of an edge agree.
inline double grid_at(int i, int n, int pieces) {
    return static_cast<double>(i * pieces / n) / pieces;
}
