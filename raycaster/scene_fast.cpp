// The batched scene passes. They draw exactly what the straightforward
// passes draw, vertex for vertex, but
//  - skip cells whose whole box lies outside the view frustum (such
//    geometry reaches no pixel),
//  - work out each cell's light once per frame instead of up to ten times,
//  - share the corners of neighbouring floor and ceiling quads, which carry
//    identical data, so each corner is lit once,
//  - hand each pass to GL as arrays instead of one call per attribute,
//  - draw the walls first so that hidden floor and ceiling cost less.
#include "light.h"
#include "scene_parts.h"
#include "settings.h"
#include "world.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr int SPAN = 2 * VIEW_CELLS + 1; // cells across the view window
constexpr int CORNERS = SPAN + 1;        // grid points across it
constexpr int LIGHTS = SPAN + 2;         // cells whose light a pass may ask

struct Frame {
    int cx, cy;                   // the player's cell
    int x0, y0;                   // first cell of the view window
    float light[LIGHTS * LIGHTS]; // cells x0 - 1 .. x0 + SPAN, likewise for y
    uint8_t seen[SPAN * SPAN];    // in the view disc and possibly on screen
};
Frame fr;

float light_at(int x, int y) {
    return fr.light[(y - fr.y0 + 1) * LIGHTS + (x - fr.x0 + 1)];
}
bool seen(int x, int y) {
    return fr.seen[(y - fr.y0) * SPAN + (x - fr.x0)];
}

// Which of the six clip planes a point lies clearly outside of. The margin
// keeps the test conservative against rounding: only boxes that are
// certainly off screen are skipped.
unsigned outcode(const double (&m)[16], double x, double y, double z) {
    double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
    double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
    double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
    double e = 1e-3 * (std::fabs(cw) + 1.0);
    return (cx > cw + e) | (cx < -cw - e) << 1 | (cy > cw + e) << 2 | (cy < -cw - e) << 3 |
           (cz > cw + e) << 4 | (cz < -cw - e) << 5;
}

void prepare_frame() {
    fr.cx = static_cast<int>(std::floor(px));
    fr.cy = static_cast<int>(std::floor(py));
    fr.x0 = fr.cx - VIEW_CELLS;
    fr.y0 = fr.cy - VIEW_CELLS;
    for (int j = 0; j < LIGHTS; j++)
        for (int i = 0; i < LIGHTS; i++)
            fr.light[j * LIGHTS + i] = cell_light_level(fr.x0 - 1 + i, fr.y0 - 1 + j);

    // Clip-space matrix exactly as GL holds it.
    double p[16], v[16], m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    glGetDoublev(GL_MODELVIEW_MATRIX, v);
    for (int c = 0; c < 4; c++)
        for (int r = 0; r < 4; r++) {
            double s = 0;
            for (int k = 0; k < 4; k++) s += p[k * 4 + r] * v[c * 4 + k];
            m[c * 4 + r] = s;
        }
    // Outcodes of every grid point at floor and ceiling height.
    static unsigned low[CORNERS * CORNERS], high[CORNERS * CORNERS];
    for (int j = 0; j < CORNERS; j++)
        for (int i = 0; i < CORNERS; i++) {
            double x = fr.x0 + i, z = fr.y0 + j;
            low[j * CORNERS + i] = outcode(m, x, FLOOR_H, z);
            high[j * CORNERS + i] = outcode(m, x, CEIL_H, z);
        }
    for (int j = 0; j < SPAN; j++)
        for (int i = 0; i < SPAN; i++) {
            unsigned all = ~0u;
            for (int k : {j * CORNERS + i, j * CORNERS + i + 1, (j + 1) * CORNERS + i,
                          (j + 1) * CORNERS + i + 1})
                all &= low[k] & high[k];
            fr.seen[j * SPAN + i] = all == 0 && in_view_disc(fr.x0 + i, fr.y0 + j);
        }
}

// Vertex data in the form GL takes it.
struct Vertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
    float nx, ny, nz;
};
std::vector<Vertex> verts;
std::vector<uint32_t> quads;
// Faces the beam cuts into grids: each grid point once, the quads as indices.
std::vector<Vertex> grid_verts;
std::vector<uint32_t> grid_quads;

Vertex vertex_of(const Corner &p, float nx, float ny, float nz) {
    return Vertex{static_cast<float>(p.x),
                  static_cast<float>(p.y),
                  static_cast<float>(p.z),
                  p.l,
                  p.l,
                  p.l,
                  1.0f,
                  static_cast<float>(p.s),
                  static_cast<float>(p.t),
                  nx,
                  ny,
                  nz};
}

void grid_indexed(const Corner (&c)[4], const Grid &g, float nx, float ny, float nz) {
    auto base = static_cast<uint32_t>(grid_verts.size());
    for (int j = 0; j <= g.v; j++)
        for (int i = 0; i <= g.u; i++)
            grid_verts.push_back(vertex_of(grid_point(c, g, i, j), nx, ny, nz));
    auto at = [&](int i, int j) { return base + static_cast<uint32_t>(j * (g.u + 1) + i); };
    for_grid_quads(g, [&](int i, int j) {
        for (uint32_t k : {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)})
            grid_quads.push_back(k);
    });
}

// Secret faces are few and each cell is its own batch: their grids go into
// the batch as whole quads.
void grid_into_verts(const Corner (&c)[4], const Grid &g, float nx, float nz) {
    for_grid_quads(g, [&](int i, int j) {
        for (auto [di, dj] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
            verts.push_back(vertex_of(grid_point(c, g, i + di, j + dj), nx, 0, nz));
    });
}

void grey_vertex(float l, double s, double t, double x, double y, double z, float nx, float nz) {
    verts.push_back(Vertex{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), l,
                           l, l, 1.0f, static_cast<float>(s), static_cast<float>(t), nx, 0, nz});
}

void draw_arrays(bool normals, const uint32_t *indices, size_t count, size_t first = 0,
                 const std::vector<Vertex> &from = verts) {
    const Vertex *v = from.data();
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &v->x);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), &v->r);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->s);
    if (normals) {
        glNormalPointer(GL_FLOAT, sizeof(Vertex), &v->nx);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (indices)
        glDrawElements(GL_QUADS, static_cast<GLsizei>(count), GL_UNSIGNED_INT, indices);
    else
        glDrawArrays(GL_QUADS, static_cast<GLint>(first), static_cast<GLsizei>(count));
    if (normals) glDisableClientState(GL_NORMAL_ARRAY);
}

void flat_pass(GLuint tex, float height, float normal_y, float repeats) {
    static int corner[CORNERS * CORNERS];
    std::fill(std::begin(corner), std::end(corner), -1);
    verts.clear();
    quads.clear();
    grid_verts.clear();
    grid_quads.clear();
    auto index = [&](int x, int y) {
        int &k = corner[(y - fr.y0) * CORNERS + (x - fr.x0)];
        if (k < 0) {
            k = static_cast<int>(verts.size());
            float fx = static_cast<float>(x), fy = static_cast<float>(y);
            float l = light_at(x, y);
            verts.push_back(
                Vertex{fx, height, fy, l, l, l, 1.0f, repeats * fx, repeats * fy, 0, normal_y, 0});
        }
        return static_cast<uint32_t>(k);
    };
    // At a reduced render scale, a run of cells along a row whose corners
    // all share one light level goes to GL as one long quad: the same colour
    // and texture coordinates across it, far fewer vertices for a software
    // renderer to light and set up. (Not at full scale: the picture may
    // differ from the cell by cell one in the last bit of rounding.)
    const bool merge = render_scale < 100 && !beam.on;
    for (int y = fr.y0; y < fr.y0 + SPAN; y++)
        for (int x = fr.x0; x < fr.x0 + SPAN; x++) {
            if (!seen(x, y)) continue;
            if (beam.on) {
                const auto [c] = flat_corners(x, y, height, repeats,
                                              {light_at(x, y), light_at(x + 1, y),
                                               light_at(x + 1, y + 1), light_at(x, y + 1)});
                Grid g = face_grid(c);
                if (g.u * g.v > 1) {
                    grid_indexed(c, g, 0, normal_y, 0);
                    continue;
                }
            }
            int last = x; // the run's last cell
            float l = light_at(x, y);
            auto even = [&](int column) {
                return light_at(column, y) == l && light_at(column, y + 1) == l;
            };
            if (merge && even(x) && even(x + 1))
                while (last + 1 < fr.x0 + SPAN && seen(last + 1, y) && even(last + 2)) last++;
            quads.push_back(index(x, y));
            quads.push_back(index(last + 1, y));
            quads.push_back(index(last + 1, y + 1));
            quads.push_back(index(x, y + 1));
            x = last;
        }
    glBindTexture(GL_TEXTURE_2D, tex);
    glNormal3f(0, normal_y, 0);
    glShadeModel(GL_SMOOTH);
    draw_arrays(false, quads.data(), quads.size());
    if (!grid_quads.empty())
        draw_arrays(false, grid_quads.data(), grid_quads.size(), 0, grid_verts);
}

void wall_face(int x, int y, int side, bool flipped) {
    const Face &f = FACES[side];
    float la = light_at(x + f.alx, y + f.alz), lb = light_at(x + f.blx, y + f.blz);
    double ax = x + static_cast<double>(f.ax), az = y + static_cast<double>(f.az);
    double bx = x + static_cast<double>(f.bx), bz = y + static_cast<double>(f.bz);
    double t0 = flipped ? 1.0 : 0.0, t1 = flipped ? 0.0 : 1.0;
    if (beam.on) {
        const auto [c] = upright_corners(ax, az, bx, bz, 1, t0, t1, la, lb);
        Grid g = face_grid(c);
        if (g.u * g.v > 1) {
            if (flipped)
                grid_into_verts(c, g, f.nx, f.nz);
            else
                grid_indexed(c, g, f.nx, 0, f.nz);
            return;
        }
    }
    grey_vertex(la, 0, t0, ax, 0, az, f.nx, f.nz);
    grey_vertex(lb, 1, t0, bx, 0, bz, f.nx, f.nz);
    grey_vertex(TOP_SHADE * lb, 1, t1, bx, 1, bz, f.nx, f.nz);
    grey_vertex(TOP_SHADE * la, 0, t1, ax, 1, az, f.nx, f.nz);
}

void pillar(int x, int y) {
    PillarSide sides[4];
    pillar_sides(x, y, sides);
    for (const PillarSide &s : sides) {
        if (!s.seen) continue;
        float l = light_at(s.lx, s.ly), top = TOP_SHADE * l;
        if (beam.on) {
            const auto [c] = upright_corners(s.ax, s.az, s.bx, s.bz, 0.3, 0, 1, l, l);
            Grid g = face_grid(c);
            if (g.u * g.v > 1) {
                grid_indexed(c, g, s.nx, 0, s.nz);
                continue;
            }
        }
        grey_vertex(l, 0, 0, s.ax, 0, s.az, s.nx, s.nz);
        grey_vertex(l, 0.3, 0, s.bx, 0, s.bz, s.nx, s.nz);
        grey_vertex(top, 0.3, 1, s.bx, 1, s.bz, s.nx, s.nz);
        grey_vertex(top, 0, 1, s.ax, 1, s.az, s.nx, s.nz);
    }
}

// Walls and pillars in one batch; then each secret face with its own
// texture, cell by cell, in the same walk order.
void wall_and_secret_passes() {
    struct SecretCell {
        GLuint tex;
        size_t first, count;
    };
    static std::vector<SecretCell> secrets;
    secrets.clear();
    verts.clear();
    grid_verts.clear();
    grid_quads.clear();
    static std::vector<int> secret_cells;
    secret_cells.clear();
    for (int y = fr.y0; y < fr.y0 + SPAN; y++)
        for (int x = fr.x0; x < fr.x0 + SPAN; x++) {
            if (!seen(x, y)) continue;
            int code = world_cell(x, y);
            if (code == CELL_WALL) {
                bool any_secret = false;
                for (int side = 0; side < 4; side++) {
                    bool secret = is_secret_face(x, y, side);
                    any_secret |= secret;
                    if (!secret && faces_eye(x, y, side)) wall_face(x, y, side, false);
                }
                if (any_secret) {
                    secret_cells.push_back(x);
                    secret_cells.push_back(y);
                }
            } else if (code == CELL_PILLAR) {
                pillar(x, y);
            }
        }
    size_t walls = verts.size();
    for (size_t i = 0; i < secret_cells.size(); i += 2) {
        int x = secret_cells[i], y = secret_cells[i + 1];
        size_t first = verts.size();
        for (int side = 0; side < 4; side++)
            if (faces_eye(x, y, side) && is_secret_face(x, y, side)) wall_face(x, y, side, true);
        secrets.push_back({secret_texture(x, y), first, verts.size() - first});
    }

    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, tex_wall);
    draw_arrays(true, nullptr, walls);
    if (!grid_quads.empty()) draw_arrays(true, grid_quads.data(), grid_quads.size(), 0, grid_verts);
    for (const SecretCell &s : secrets) {
        glBindTexture(GL_TEXTURE_2D, s.tex);
        if (s.count) draw_arrays(true, nullptr, s.count, s.first);
    }
}

} // namespace

void render_passes_fast() {
    prepare_frame();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // Walls before floor and ceiling: no wall fragment ever ties in depth
    // with a floor or ceiling one (those lie 0.001 beyond the walls' ends), so
    // the picture is the same, and the floor and ceiling behind walls then
    // fail the depth test before they are textured.
    glShadeModel(GL_SMOOTH);
    wall_and_secret_passes();
    flat_pass(tex_floor_id, FLOOR_H, 1.0f, FLOOR_REPEATS);
    flat_pass(tex_ceil, CEIL_H, -1.0f, CEIL_REPEATS);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
