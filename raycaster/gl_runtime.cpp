#include "gl_load.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

// Every GL call the game makes: return type, name, parameters, arguments.
// The program does not link libGL; each of these is defined here and goes
// through a pointer that SDL looked up in the library it loaded. A call the
// game starts to use must be added here (raycaster_gl_calls_listed checks).
#define GL_CALLS(X)                                                                                \
    X(void, glBegin, (GLenum mode), (mode))                                                        \
    X(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))                     \
    X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))                     \
    X(void, glClear, (GLbitfield mask), (mask))                                                    \
    X(void, glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha),           \
      (red, green, blue, alpha))                                                                   \
    X(void, glColor4f, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha),                  \
      (red, green, blue, alpha))                                                                   \
    X(void, glColorMaterial, (GLenum face, GLenum mode), (face, mode))                             \
    X(void, glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr),          \
      (size, type, stride, ptr))                                                                   \
    X(void, glCopyTexSubImage2D,                                                                   \
      (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width,  \
       GLsizei height),                                                                            \
      (target, level, xoffset, yoffset, x, y, width, height))                                      \
    X(void, glDeleteTextures, (GLsizei n, const GLuint *textures), (n, textures))                  \
    X(void, glDepthFunc, (GLenum func), (func))                                                    \
    X(void, glDisable, (GLenum cap), (cap))                                                        \
    X(void, glDisableClientState, (GLenum cap), (cap))                                             \
    X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))         \
    X(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid *indices),      \
      (mode, count, type, indices))                                                                \
    X(void, glEnable, (GLenum cap), (cap))                                                         \
    X(void, glEnableClientState, (GLenum cap), (cap))                                              \
    X(void, glEnd, (void), ())                                                                     \
    X(void, glFogf, (GLenum pname, GLfloat param), (pname, param))                                 \
    X(void, glFogfv, (GLenum pname, const GLfloat *params), (pname, params))                       \
    X(void, glFogi, (GLenum pname, GLint param), (pname, param))                                   \
    X(void, glGenTextures, (GLsizei n, GLuint * textures), (n, textures))                          \
    X(void, glGetDoublev, (GLenum pname, GLdouble * params), (pname, params))                      \
    X(GLenum, glGetError, (void), ())                                                              \
    X(void, glGetIntegerv, (GLenum pname, GLint * params), (pname, params))                        \
    X(GLboolean, glIsTexture, (GLuint texture), (texture))                                         \
    X(void, glLightModelfv, (GLenum pname, const GLfloat *params), (pname, params))                \
    X(void, glLightf, (GLenum light, GLenum pname, GLfloat param), (light, pname, param))          \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat *params),                        \
      (light, pname, params))                                                                      \
    X(void, glLineWidth, (GLfloat width), (width))                                                 \
    X(void, glLoadIdentity, (void), ())                                                            \
    X(void, glLoadMatrixd, (const GLdouble *m), (m))                                               \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat *params),                      \
      (face, pname, params))                                                                       \
    X(void, glMatrixMode, (GLenum mode), (mode))                                                   \
    X(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz))                        \
    X(void, glNormalPointer, (GLenum type, GLsizei stride, const GLvoid *ptr),                     \
      (type, stride, ptr))                                                                         \
    X(void, glOrtho,                                                                               \
      (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,            \
       GLdouble far_val),                                                                          \
      (left, right, bottom, top, near_val, far_val))                                               \
    X(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))                            \
    X(void, glPopMatrix, (void), ())                                                               \
    X(void, glPushMatrix, (void), ())                                                              \
    X(void, glReadBuffer, (GLenum mode), (mode))                                                   \
    X(void, glReadPixels,                                                                          \
      (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,                \
       GLvoid * pixels),                                                                           \
      (x, y, width, height, format, type, pixels))                                                 \
    X(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z))         \
    X(void, glShadeModel, (GLenum mode), (mode))                                                   \
    X(void, glTexCoord2d, (GLdouble s, GLdouble t), (s, t))                                        \
    X(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t))                                          \
    X(void, glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr),       \
      (size, type, stride, ptr))                                                                   \
    X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param))         \
    X(void, glTexImage2D,                                                                          \
      (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,            \
       GLint border, GLenum format, GLenum type, const GLvoid *pixels),                            \
      (target, level, internalFormat, width, height, border, format, type, pixels))                \
    X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))   \
    X(void, glTexSubImage2D,                                                                       \
      (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,    \
       GLenum format, GLenum type, const GLvoid *pixels),                                          \
      (target, level, xoffset, yoffset, width, height, format, type, pixels))                      \
    X(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                         \
    X(void, glVertex2f, (GLfloat x, GLfloat y), (x, y))                                            \
    X(void, glVertex3d, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                           \
    X(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                              \
    X(void, glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr),         \
      (size, type, stride, ptr))                                                                   \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))

namespace {

#define GL_POINTER(ret, name, params, args) ret(APIENTRY *p_##name) params = nullptr;
GL_CALLS(GL_POINTER)

} // namespace

extern "C" {
#define GL_TRAMPOLINE(ret, name, params, args)                                                     \
    ret APIENTRY name params {                                                                     \
        return p_##name args;                                                                      \
    }
GL_CALLS(GL_TRAMPOLINE)
}

std::string gl_load_library() {
    if (SDL_GL_LoadLibrary(nullptr) == 0) return {};
    // SDL names the file it tried; on X11 that is libGL, on Wayland libEGL.
    std::string library = SDL_strstr(SDL_GetError(), "EGL") ? "libEGL.so.1" : "libGL.so.1";
    return "cannot start: " + library + " not found (install your system's OpenGL driver)";
}

std::string gl_load_functions() {
#define GL_LOOK_UP(ret, name, params, args)                                                        \
    p_##name = reinterpret_cast<decltype(p_##name)>(SDL_GL_GetProcAddress(#name));                 \
    if (!p_##name) return #name;
    GL_CALLS(GL_LOOK_UP)
    return {};
}
