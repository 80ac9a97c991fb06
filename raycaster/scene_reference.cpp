// The straightforward scene passes: every cell of the view disc, every
// vertex sent in immediate mode. Kept as the yardstick the batched passes
// are compared with, pixel for pixel.
#include "light.h"
#include "scene_parts.h"
#include "world.h"

#include <utility>

namespace {

// The cells of the view disc, row by row, as every pass walks them.
template <typename Visit> void for_view_disc(Visit visit) {
    int cx = static_cast<int>(std::floor(px)), cy = static_cast<int>(std::floor(py));
    for (int y = cy - VIEW_CELLS; y <= cy + VIEW_CELLS; y++)
        for (int x = cx - VIEW_CELLS; x <= cx + VIEW_CELLS; x++)
            if (in_view_disc(x, y)) visit(x, y);
}

void grey(float l) {
    glColor4f(l, l, l, 1.0f);
}

// A face the beam cuts into a grid: every small quad in immediate mode.
// Floor and ceiling pass single precision, as their whole quads do.
void grid_quads(const Corner (&c)[4], const Grid &g, bool single) {
    for_grid_quads(g, [&](int i, int j) {
        for (auto [di, dj] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
            Corner p = grid_point(c, g, i + di, j + dj);
            grey(p.l);
            if (single) {
                glTexCoord2f(static_cast<float>(p.s), static_cast<float>(p.t));
                glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y),
                           static_cast<float>(p.z));
            } else {
                glTexCoord2d(p.s, p.t);
                glVertex3d(p.x, p.y, p.z);
            }
        }
    });
}

// Floor and ceiling: one quad per disc cell, each vertex lit by the cell
// whose low corner it is.
void flat_pass(GLuint tex, float height, float normal_y, float repeats) {
    glBindTexture(GL_TEXTURE_2D, tex);
    glNormal3f(0, normal_y, 0);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    for_view_disc([&](int x, int y) {
        float x0 = static_cast<float>(x), x1 = static_cast<float>(x + 1);
        float y0 = static_cast<float>(y), y1 = static_cast<float>(y + 1);
        if (beam.on) {
            const auto [c] =
                flat_corners(x, y, height, repeats,
                             {cell_light_level(x, y), cell_light_level(x + 1, y),
                              cell_light_level(x + 1, y + 1), cell_light_level(x, y + 1)});
            Grid g = face_grid(c);
            if (g.u * g.v > 1) return grid_quads(c, g, true);
        }
        grey(cell_light_level(x, y));
        glTexCoord2f(repeats * x0, repeats * y0);
        glVertex3f(x0, height, y0);
        grey(cell_light_level(x + 1, y));
        glTexCoord2f(repeats * x1, repeats * y0);
        glVertex3f(x1, height, y0);
        grey(cell_light_level(x + 1, y + 1));
        glTexCoord2f(repeats * x1, repeats * y1);
        glVertex3f(x1, height, y1);
        grey(cell_light_level(x, y + 1));
        glTexCoord2f(repeats * x0, repeats * y1);
        glVertex3f(x0, height, y1);
    });
    glEnd();
}

// Texture t runs 0 at the floor for brick; secret and door images stand the
// other way up.
void wall_face(int x, int y, int side, bool flipped) {
    const Face &f = FACES[side];
    float la = cell_light_level(x + f.alx, y + f.alz);
    float lb = cell_light_level(x + f.blx, y + f.blz);
    double ax = x + static_cast<double>(f.ax), az = y + static_cast<double>(f.az);
    double bx = x + static_cast<double>(f.bx), bz = y + static_cast<double>(f.bz);
    double t0 = flipped ? 1.0 : 0.0, t1 = flipped ? 0.0 : 1.0;
    glNormal3f(f.nx, 0, f.nz);
    if (beam.on) {
        const auto [c] = upright_corners(ax, az, bx, bz, 1, t0, t1, la, lb);
        Grid g = face_grid(c);
        if (g.u * g.v > 1) return grid_quads(c, g, false);
    }
    grey(la);
    glTexCoord2d(0, t0);
    glVertex3d(ax, 0, az);
    grey(lb);
    glTexCoord2d(1, t0);
    glVertex3d(bx, 0, bz);
    grey(TOP_SHADE * lb);
    glTexCoord2d(1, t1);
    glVertex3d(bx, 1, bz);
    grey(TOP_SHADE * la);
    glTexCoord2d(0, t1);
    glVertex3d(ax, 1, az);
}

void pillar(int x, int y) {
    PillarSide sides[4];
    pillar_sides(x, y, sides);
    for (const PillarSide &s : sides) {
        if (!s.seen) continue;
        float l = cell_light_level(s.lx, s.ly);
        glNormal3f(s.nx, 0, s.nz);
        if (beam.on) {
            const auto [c] = upright_corners(s.ax, s.az, s.bx, s.bz, 0.3, 0, 1, l, l);
            Grid g = face_grid(c);
            if (g.u * g.v > 1) {
                grid_quads(c, g, false);
                continue;
            }
        }
        grey(l);
        glTexCoord2d(0, 0);
        glVertex3d(s.ax, 0, s.az);
        glTexCoord2d(0.3, 0);
        glVertex3d(s.bx, 0, s.bz);
        grey(TOP_SHADE * l);
        glTexCoord2d(0.3, 1);
        glVertex3d(s.bx, 1, s.bz);
        glTexCoord2d(0, 1);
        glVertex3d(s.ax, 1, s.az);
    }
}

void wall_pass() {
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, tex_wall);
    glBegin(GL_QUADS);
    for_view_disc([](int x, int y) {
        int code = world_cell(x, y);
        if (code == CELL_WALL) {
            for (int side = 0; side < 4; side++)
                if (faces_eye(x, y, side) && !is_secret_face(x, y, side))
                    wall_face(x, y, side, false);
        } else if (code == CELL_PILLAR) {
            pillar(x, y);
        }
    });
    glEnd();
}

void secret_pass() {
    for_view_disc([](int x, int y) {
        if (world_cell(x, y) != CELL_WALL) return;
        bool any = false;
        for (int side = 0; side < 4 && !any; side++) any = is_secret_face(x, y, side);
        if (!any) return;
        glBindTexture(GL_TEXTURE_2D, secret_texture(x, y));
        glBegin(GL_QUADS);
        for (int side = 0; side < 4; side++)
            if (faces_eye(x, y, side) && is_secret_face(x, y, side)) wall_face(x, y, side, true);
        glEnd();
    });
}

} // namespace

void render_passes_reference() {
    flat_pass(tex_floor_id, FLOOR_H, 1.0f, FLOOR_REPEATS);
    flat_pass(tex_ceil, CEIL_H, -1.0f, CEIL_REPEATS);
    wall_pass();
    secret_pass();
}
