#include "scene.h"
#include "config.h"
#include "doors.h"
#include "flashlight.h"
#include "light.h"
#include "player.h"
#include "textures.h"
#include "world.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <cmath>

SDL_Window *win = nullptr;

namespace {

constexpr double DEG = 180.0 / M_PI;
constexpr double COT_HALF_FOV = 1.7320508075688774; // 60 degrees vertical
constexpr int VIEW_CELLS = 49;                      // each side of the player's cell
constexpr double VIEW_RADIUS_SQ = 2304.0;           // 48 cells, where the fog ends
constexpr float FLOOR_H = -0.001f, CEIL_H = 1.001f;
constexpr float TOP_SHADE = 0.45f;

void set_frame(int w, int h) {
    glViewport(0, 0, w, h);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    // Perspective: 60 degrees vertical, near 0.05, far 100.
    double a = static_cast<double>(w) / h;
    GLdouble proj[16] = {};
    proj[0] = COT_HALF_FOV / a;
    proj[5] = COT_HALF_FOV;
    proj[10] = -1.001000500250125;
    proj[11] = -1.0;
    proj[14] = -0.10005002501250625;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(proj);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(static_cast<float>(-cam_pitch * DEG), 1, 0, 0);
    double yaw = pa * DEG + 90.0;
    if (bob_t > 0.01) yaw += std::sin(bob_t) * 0.06 * DEG; // sprint sway
    glRotatef(static_cast<float>(yaw), 0, 1, 0);
    glTranslated(-px, -cam_y, -py);
}

void set_lights() {
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT); // light levels enter as ambient
    const GLfloat white[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    const GLfloat ambient[] = {0.95f, 0.95f, 0.95f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);

    if (flash_spring > static_cast<double>(0.01f)) {
        float s = static_cast<float>(flash_spring);
        const GLfloat black[] = {0, 0, 0, 1};
        const GLfloat diffuse[] = {0.5f * s, 0.47f * s, 0.38f * s, 1};
        const GLfloat pos[] = {static_cast<float>(px), static_cast<float>(cam_y),
                               static_cast<float>(py), 1};
        double cp = std::cos(cam_pitch);
        const GLfloat dir[] = {static_cast<float>(std::cos(pa) * cp),
                               static_cast<float>(std::sin(cam_pitch)),
                               static_cast<float>(std::sin(pa) * cp)};
        glLightfv(GL_LIGHT0, GL_AMBIENT, black);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_POSITION, pos);
        glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, dir);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 25.0f);
        glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 32.0f);
        glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.05f);
        glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
        glEnable(GL_LIGHT0);
    } else {
        glDisable(GL_LIGHT0);
    }

    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 2.0f);
    glFogf(GL_FOG_END, 48.0f);
    const GLfloat fog[] = {0, 0, 0, 1};
    glFogfv(GL_FOG_COLOR, fog);
}

// The cells of the view disc, row by row, as every pass walks them.
template <typename Visit> void for_view_disc(Visit visit) {
    int cx = static_cast<int>(std::floor(px)), cy = static_cast<int>(std::floor(py));
    for (int y = cy - VIEW_CELLS; y <= cy + VIEW_CELLS; y++)
        for (int x = cx - VIEW_CELLS; x <= cx + VIEW_CELLS; x++) {
            double dx = x + 0.5 - px, dy = y + 0.5 - py;
            if (dx * dx + dy * dy > VIEW_RADIUS_SQ) continue;
            visit(x, y);
        }
}

void grey(float l) {
    glColor4f(l, l, l, 1.0f);
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

bool faces_eye(int x, int y, int side) {
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
    double x0 = (x + 0.5) - PILLAR_HALF, x1 = (x + 0.5) + PILLAR_HALF;
    double z0 = (y + 0.5) - PILLAR_HALF, z1 = (y + 0.5) + PILLAR_HALF;
    struct Side {
        bool seen;
        float nx, nz;
        int lx, ly;
        double ax, az, bx, bz;
    };
    const Side sides[4] = {
        {x0 > px, -1, 0, x - 1, y, x0, z0, x0, z1},
        {px > x1, 1, 0, x + 1, y, x1, z1, x1, z0},
        {z0 > py, 0, -1, x, y - 1, x1, z0, x0, z0},
        {py > z1, 0, 1, x, y + 1, x0, z1, x1, z1},
    };
    for (const Side &s : sides) {
        if (!s.seen) continue;
        float l = cell_light_level(s.lx, s.ly);
        glNormal3f(s.nx, 0, s.nz);
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

GLuint secret_texture(int x, int y) {
    const Door *d = door_at(x, y);
    if (!d) return tex_secret;
    return d->open ? tex_door_open : tex_door_closed;
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

void render_3d() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(win, &w, &h);
    if (w <= 0 || h <= 0) return; // minimised: no aspect ratio to draw with
    set_frame(w, h);
    set_lights();
    flat_pass(tex_floor_id, FLOOR_H, 1.0f, 4.0f);
    flat_pass(tex_ceil, CEIL_H, -1.0f, 2.0f);
    wall_pass();
    secret_pass();
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
}
