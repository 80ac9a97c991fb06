#include "view_scale.h"
#include "settings.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <algorithm>

namespace {

// Framebuffer objects are looked up at run time: the system's GL library
// exports only the oldest calls. Without them the view is drawn into the
// window's corner and copied out instead, which costs a little more.
// Either way the view ends as a texture drawn over the whole window: on a
// software renderer that is cheaper than a framebuffer blit.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC gen;
    PFNGLBINDFRAMEBUFFERPROC bind;
    PFNGLFRAMEBUFFERTEXTURE2DPROC attach_texture;
    PFNGLGENRENDERBUFFERSPROC gen_render;
    PFNGLBINDRENDERBUFFERPROC bind_render;
    PFNGLRENDERBUFFERSTORAGEPROC storage;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC attach_render;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC status;
};
FramebufferCalls fb;
int fb_known = 0, fb_usable = 0;

GLuint view_texture = 0, framebuffer = 0, depth = 0;
int tex_w = 0, tex_h = 0;
int drawn_w = 0, drawn_h = 0, in_framebuffer = 0;

template <typename F> void look_up(F *call, const char *name) {
    *call = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    if (!*call) fb_usable = 0;
}

void find_framebuffer_calls() {
    fb_known = 1;
    fb_usable = SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
    if (!fb_usable) return;
    look_up(&fb.gen, "glGenFramebuffers");
    look_up(&fb.bind, "glBindFramebuffer");
    look_up(&fb.attach_texture, "glFramebufferTexture2D");
    look_up(&fb.gen_render, "glGenRenderbuffers");
    look_up(&fb.bind_render, "glBindRenderbuffer");
    look_up(&fb.storage, "glRenderbufferStorage");
    look_up(&fb.attach_render, "glFramebufferRenderbuffer");
    look_up(&fb.status, "glCheckFramebufferStatus");
}

// The texture that holds the view, vw x vh, sharp when enlarged.
void size_texture(int vw, int vh) {
    if (!view_texture) glGenTextures(1, &view_texture);
    glBindTexture(GL_TEXTURE_2D, view_texture);
    if (tex_w == vw && tex_h == vh) return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, vw, vh, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 nullptr);
    tex_w = vw;
    tex_h = vh;
    if (!framebuffer) return;
    fb.bind(GL_FRAMEBUFFER, framebuffer);
    fb.attach_texture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, view_texture, 0);
    fb.bind_render(GL_RENDERBUFFER, depth);
    fb.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, vw, vh);
    fb.attach_render(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    if (fb.status(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) fb_usable = 0;
    fb.bind(GL_FRAMEBUFFER, 0);
}

void full_quad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
}

} // namespace

void view_begin(int w, int h, int *vw, int *vh) {
    *vw = w;
    *vh = h;
    in_framebuffer = 0;
    if (render_scale < 100) { // fewer pixels, for machines without a GPU
        *vw = std::max(1, static_cast<int>(w * render_scale / 100));
        *vh = std::max(1, static_cast<int>(h * render_scale / 100));
        if (!fb_known) find_framebuffer_calls();
        if (fb_usable) {
            if (!framebuffer) {
                fb.gen(1, &framebuffer);
                fb.gen_render(1, &depth);
            }
            size_texture(*vw, *vh); // may find the framebuffer unusable
        }
        if (fb_usable) {
            fb.bind(GL_FRAMEBUFFER, framebuffer);
            in_framebuffer = 1;
        }
    }
    drawn_w = *vw;
    drawn_h = *vh;
}

// Brightness lifts each tone x to x + k x (1 - x): black and white stay,
// darker tones gain more, and the order of tones is kept, so the dark
// patches stay darker than the corridors. It is drawn as the view times k,
// blended by (1 - destination) over the view itself.
void view_end(int w, int h) {
    float lift = static_cast<float>(brightness / 100.0);
    bool scaled = drawn_w != w || drawn_h != h;
    if (!scaled && lift <= 0) return;
    if (in_framebuffer) {
        fb.bind(GL_FRAMEBUFFER, 0);
        glBindTexture(GL_TEXTURE_2D, view_texture);
    } else { // drawn in the window's lower left corner, or on all of it
        size_texture(drawn_w, drawn_h);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, drawn_w, drawn_h);
    }
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    if (scaled) { // the texels as they are: no colour to multiply by
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        full_quad();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    if (lift > 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
        glColor4f(lift, lift, lift, 1);
        full_quad();
        glDisable(GL_BLEND);
    }
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
}
