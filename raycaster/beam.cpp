#include "beam.h"
#include "config.h"

#include <algorithm>
#include <cmath>

Beam beam;

namespace {

const double COS_CONE = std::cos((BEAM_CUTOFF_DEG + BEAM_MARGIN_DEG) * M_PI / 180.0);
const double SIN_CONE = std::sin((BEAM_CUTOFF_DEG + BEAM_MARGIN_DEG) * M_PI / 180.0);

P3 sub(P3 a, P3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 add(P3 a, P3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
P3 scale(P3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
double dot(P3 a, P3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
P3 cross(P3 a, P3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(P3 a) {
    return std::sqrt(dot(a, a));
}

// Cosine of the smallest angle between the beam's axis and the direction
// from the eye to any point of segment ab. The directions to the segment's
// points form an arc of a great circle; the nearest point of that arc to the
// axis is the axis's projection onto its plane, or else an end.
double nearest_cos(P3 a, P3 b) {
    P3 va = sub(a, beam.eye), vb = sub(b, beam.eye);
    double la = length(va), lb = length(vb);
    if (la < 1e-9 || lb < 1e-9) return 1.0; // the segment touches the eye
    P3 ua = scale(va, 1 / la), ub = scale(vb, 1 / lb);
    double ends = std::max(dot(beam.dir, ua), dot(beam.dir, ub));
    P3 n = cross(ua, ub);
    double ln = length(n);
    if (ln < 1e-12) return dot(ua, ub) < 0 ? 1.0 : ends; // in line with the eye
    n = scale(n, 1 / ln);
    P3 p = sub(beam.dir, scale(n, dot(beam.dir, n)));
    if (dot(cross(ua, p), n) >= 0 && dot(cross(p, ub), n) >= 0) return std::max(ends, length(p));
    return ends;
}

// Distance from the eye to segment ab.
double distance_to_segment(P3 a, P3 b) {
    P3 ab = sub(b, a);
    double t = std::clamp(dot(sub(beam.eye, a), ab) / dot(ab, ab), 0.0, 1.0);
    return length(sub(beam.eye, add(a, scale(ab, t))));
}

// The angle between grid points at `distance` from the eye: BEAM_STEP_DEG up
// to BEAM_FINE_REACH, wider further out, where the pool is small and dimmed
// by the fog.
double step_at(double distance) {
    return BEAM_STEP_DEG * M_PI / 180 * std::max(1.0, distance / BEAM_FINE_REACH);
}

// Pieces for segment ab, `distance` from the eye, each spanning about one
// step as seen from the eye: fine near it, coarse far off or seen at a slant.
int pieces(P3 a, P3 b, double distance) {
    P3 va = sub(a, beam.eye), vb = sub(b, beam.eye);
    double la = length(va), lb = length(vb);
    if (la < 1e-9 || lb < 1e-9) return BEAM_MAX_CUTS;
    double angle = std::acos(std::clamp(dot(va, vb) / (la * lb), -1.0, 1.0));
    int n = static_cast<int>(std::ceil(angle / step_at(distance) - 1e-9));
    return std::clamp(n, 1, BEAM_MAX_CUTS);
}

// Pieces for an edge whose nearest direction to the axis has cosine `cos`:
// one outside the cone.
int edge_pieces(P3 a, P3 b, double cos) {
    return cos < COS_CONE ? 1 : pieces(a, b, distance_to_segment(a, b));
}

P3 midpoint(P3 a, P3 b) {
    return scale(add(a, b), 0.5);
}

} // namespace

void beam_begin_frame(int on, P3 eye, P3 dir) {
    beam.on = on;
    beam.eye = eye;
    double l = length(dir);
    beam.dir = l > 0 ? scale(dir, 1 / l) : P3{1, 0, 0};
}

Grid beam_grid(const P3 (&c)[4]) {
    Grid g{1, 1, 1, 1, 1, 1};
    if (!beam.on) return g;
    P3 eu = sub(c[1], c[0]), ev = sub(c[3], c[0]);
    P3 centre = add(c[0], scale(add(eu, ev), 0.5));
    P3 to = sub(centre, beam.eye);
    double d = length(to), r = 0.5 * length(add(eu, ev));
    // Quick rejection: the rectangle's bounding sphere lies wholly outside
    // the cone.
    if (d > r) {
        double sin_r = r / d, cos_r = std::sqrt(1 - sin_r * sin_r);
        if (dot(to, beam.dir) / d < COS_CONE * cos_r - SIN_CONE * sin_r) return g;
        // Nor is anything cut when even the sphere's full width is one step
        // at its nearest: most faces in the cone lie far off.
        if (2 * std::asin(sin_r) <= step_at(d - r)) return g;
    }
    double lu = length(eu), lv = length(ev);
    // Nearest point of the rectangle to the eye (its edges are at right angles).
    P3 rel = sub(beam.eye, c[0]);
    double su = std::clamp(dot(rel, eu) / (lu * lu), 0.0, 1.0);
    double sv = std::clamp(dot(rel, ev) / (lv * lv), 0.0, 1.0);
    double nearest = length(sub(beam.eye, add(c[0], add(scale(eu, su), scale(ev, sv)))));
    double bottom = nearest_cos(c[0], c[1]), top = nearest_cos(c[3], c[2]);
    double left = nearest_cos(c[0], c[3]), right = nearest_cos(c[1], c[2]);
    g.bottom = edge_pieces(c[0], c[1], bottom);
    g.top = edge_pieces(c[3], c[2], top);
    g.left = edge_pieces(c[0], c[3], left);
    g.right = edge_pieces(c[1], c[2], right);
    bool edges_lit = std::max({bottom, top, left, right}) >= COS_CONE;
    bool axis_hits = false;
    P3 n = cross(eu, ev);
    double facing = dot(beam.dir, n);
    if (std::fabs(facing) > 1e-12) {
        double t = dot(sub(c[0], beam.eye), n) / facing;
        P3 hit = sub(add(beam.eye, scale(beam.dir, t)), c[0]);
        double hu = dot(hit, eu) / (lu * lu), hv = dot(hit, ev) / (lv * lv);
        axis_hits = t > 0 && hu >= 0 && hu <= 1 && hv >= 0 && hv <= 1;
    }
    if (!edges_lit && !axis_hits) return g;
    // Inside, as finely as the rectangle's middle lines look from the eye.
    g.u = std::max({pieces(midpoint(c[0], c[3]), midpoint(c[1], c[2]), nearest), g.bottom, g.top});
    g.v = std::max({pieces(midpoint(c[0], c[1]), midpoint(c[3], c[2]), nearest), g.left, g.right});
    return g;
}
