// Signed distance functions for drawing crisp, anti-aliased shapes: negative
// inside, positive outside, in pixels.
#pragma once

struct Vec2 {
    float x, y;
};

float sd_circle(Vec2 p, Vec2 centre, float radius);
float sd_segment(Vec2 p, Vec2 a, Vec2 b); // distance to the segment, never negative
float sd_box(Vec2 p, Vec2 centre, Vec2 half, float corner_radius);
float sd_polygon(Vec2 p, const Vec2 *pts, int count);
// 1 well inside, 0 well outside, a one-pixel ramp across the edge.
float coverage(float sd);

// Where a point falls in a running bond: rows of unit_w x unit_h blocks, every
// other row shifted by half a block, all wrapping at size x size so the
// pattern tiles. Joints are 2 * joint_half wide, straddling the block edges.
struct BondSpot {
    int id;       // same for every point of one block, also across the wrap
    float edge;   // distance into the block from its rounded outline; negative in a joint
    float lx, ly; // position within the block's cell, 0..unit_w and 0..unit_h
};
BondSpot running_bond(Vec2 p, int unit_w, int unit_h, int size, float joint_half, float corner);
