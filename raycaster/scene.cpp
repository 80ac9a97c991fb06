#include "scene.h"
#include "beam.h"
#include "flashlight.h"
#include "player.h"
#include "scene_parts.h"
#include "settings.h"
#include "view_scale.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <cmath>
#include <malloc.h>

SDL_Window *win = nullptr;
int render_reference = 0;

namespace {

constexpr double DEG = 180.0 / M_PI;
constexpr double COT_HALF_FOV_60 = 1.7320508075688774;

// The view is drawn at vw x vh pixels, for a window of aspect ratio a.
void set_frame(int vw, int vh, double a) {
    glViewport(0, 0, vw, vh);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    // Perspective: the player's vertical field of view, near 0.05, far 100.
    double cot =
        field_of_view == 60.0 ? COT_HALF_FOV_60 : 1.0 / std::tan(field_of_view * M_PI / 360);
    GLdouble proj[16] = {};
    proj[0] = cot / a;
    proj[5] = cot;
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
        beam_begin_frame(1, {px, cam_y, py},
                         {std::cos(pa) * cp, std::sin(cam_pitch), std::sin(pa) * cp});
    } else {
        glDisable(GL_LIGHT0);
        beam_begin_frame(0, {}, {});
    }

    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 2.0f);
    glFogf(GL_FOG_END, 48.0f);
    const GLfloat fog[] = {0, 0, 0, 1};
    glFogfv(GL_FOG_COLOR, fog);
}

} // namespace

void render_3d() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(win, &w, &h);
    if (w <= 0 || h <= 0) return; // minimised: no aspect ratio to draw with
    int vw, vh;
    view_begin(w, h, &vw, &vh);
    set_frame(vw, vh, static_cast<double>(w) / h);
    set_lights();
    if (render_reference)
        render_passes_reference();
    else
        render_passes_fast();
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
    view_end(w, h);
}

void keep_heap_between_frames() {
#ifdef __GLIBC__ // other C libraries have no such knobs
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}
