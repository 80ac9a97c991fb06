#include "text.h"
#include "config.h"
#include "textures.h"

#include <SDL2/SDL_opengl.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

TTF_Font *font_small = nullptr;
TTF_Font *font_medium = nullptr;
TTF_Font *font_large = nullptr;
float overlay_sx = 1.0f, overlay_sy = 1.0f;

namespace {

// A frame shows at most 8 title strings, or 12 overlay strings, and the
// options menu adds about 35; the journey map draws a number for each of
// its markers besides its two lines and a notice. A string that finds no
// slot is rendered afresh every frame it shows.
constexpr int TEXT_SLOTS = MAX_MARKERS + 64;
constexpr int TEXT_KEY_BYTES = 512; // a chat message, NUL included

// Strings are rendered opaque and faded by the quad's colour, so a message
// fading out keeps its texture; only the colour's RGB is part of the key.
struct Rendered {
    uint32_t texture; // 0: nothing to draw
    int w, h, lift;
};
struct TextSlot {
    TTF_Font *font;
    uint8_t r, g, b;
    char text[TEXT_KEY_BYTES];
    Rendered drawn; // texture 0: the slot is free
    uint32_t frame; // the last frame that drew it
};
std::array<TextSlot, TEXT_SLOTS> slots{};
uint32_t frame_number = 1;
int caching = 1;

// Pixels that combining marks stacked above the letters add on top of the
// font's height. The rendering grows by that much upwards and its letters
// sit that much lower; drawing it that much higher keeps every line on the
// same baseline. Found as the height the marks above add: the rendering's
// height against the string measured without them (a mark is "above" when
// its glyph lies wholly above the baseline).
int marks_above(TTF_Font *font, const char *text, int rendered_h) {
    std::string without;
    bool any = false;
    for (const char *p = text; *p; p++) {
        // U+0300..U+036F are the two-byte sequences CC 80 to CD AF.
        auto lead = static_cast<unsigned char>(p[0]), next = static_cast<unsigned char>(p[1]);
        if ((lead == 0xCC || lead == 0xCD) && (next & 0xC0) == 0x80) {
            Uint32 cp = (lead & 0x1Fu) << 6 | (next & 0x3Fu);
            int minx, maxx, miny, maxy, advance;
            if (cp <= 0x36F &&
                TTF_GlyphMetrics32(font, cp, &minx, &maxx, &miny, &maxy, &advance) == 0 &&
                miny > 0) {
                any = true;
                p++;
                continue;
            }
        }
        without += *p;
    }
    int w, without_h;
    if (!any || TTF_SizeUTF8(font, without.c_str(), &w, &without_h) != 0) return 0;
    return std::max(0, rendered_h - without_h);
}

// A string wider than GL takes would be squeezed into its texture and
// stretched back into unreadable glyphs: it is cut to the longest start
// that fits, ending in an ellipsis.
std::string within_gl(TTF_Font *font, const char *text) {
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    int w = 0, h = 0;
    if (max <= 0 || TTF_SizeUTF8(font, text, &w, &h) != 0 || w <= max) return text;
    std::string s = text;
    size_t lo = 0, hi = s.size(); // the cut: lo fits, hi does not
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        std::string t = s.substr(0, mid) + "\u2026";
        (TTF_SizeUTF8(font, t.c_str(), &w, &h) == 0 && w <= max ? lo : hi) = mid;
    }
    while (lo > 0 && (static_cast<unsigned char>(s[lo]) & 0xC0) == 0x80) lo--;
    return s.substr(0, lo) + "\u2026";
}

Rendered render(TTF_Font *font, const char *text, SDL_Color color) {
    std::string fitting = within_gl(font, text);
    SDL_Surface *surface = TTF_RenderUTF8_Blended(font, fitting.c_str(), color);
    if (!surface) return {0, 0, 0, 0};
    Rendered out{surf_to_gl(surface), surface->w, surface->h,
                 marks_above(font, fitting.c_str(), surface->h)};
    SDL_FreeSurface(surface);
    return out;
}

TextSlot *find(TTF_Font *font, const char *text, SDL_Color c) {
    for (TextSlot &s : slots)
        if (s.drawn.texture && s.font == font && s.r == c.r && s.g == c.g && s.b == c.b &&
            std::strcmp(s.text, text) == 0)
            return &s;
    return nullptr;
}

TextSlot *free_slot() {
    for (TextSlot &s : slots)
        if (!s.drawn.texture) return &s;
    return nullptr;
}

void quad(uint32_t texture, float x, float y, float w, float h, float alpha) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1, 1, 1, alpha);
    float x1 = x + w * overlay_sx, y1 = y + h * overlay_sy;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x, y1);
    glEnd();
}

// w and h: the size to draw at, or negative for the rendered size. A string
// too long to keep, or met with every slot taken, is drawn once and given
// back.
void text(TTF_Font *font, const char *str, SDL_Color color, float x, float y, float alpha, int w,
          int h) {
    if (!font || !str) return;
    TextSlot *slot = caching ? find(font, str, color) : nullptr;
    Rendered r = slot ? slot->drawn : render(font, str, SDL_Color{color.r, color.g, color.b, 255});
    if (!r.texture) return;
    if (!slot && caching && std::strlen(str) < TEXT_KEY_BYTES && (slot = free_slot())) {
        *slot = TextSlot{font, color.r, color.g, color.b, {}, r, 0};
        std::strcpy(slot->text, str);
    }
    quad(r.texture, x, y - r.lift * overlay_sy, static_cast<float>(w < 0 ? r.w : w),
         static_cast<float>(h < 0 ? r.h : h), alpha * (color.a / 255.0f));
    if (slot) {
        slot->frame = frame_number;
    } else {
        GLuint name = r.texture;
        glDeleteTextures(1, &name);
    }
}

void release(TextSlot &s) {
    GLuint name = s.drawn.texture;
    glDeleteTextures(1, &name);
    s.drawn.texture = 0;
}

} // namespace

void set_overlay_scale(int w, int h) {
    overlay_sx = w / 960.0f;
    overlay_sy = h / 600.0f;
}

void fill_rect(float x0, float y0, float x1, float y1, float r, float g, float b, float a) {
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void outline_rect(float x0, float y0, float x1, float y1, float r, float g, float b, float a) {
    glColor4f(r, g, b, a);
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void draw_text_quad(TTF_Font *font, const char *str, SDL_Color color, float x, float y,
                    float alpha) {
    text(font, str, color, x, y, alpha, -1, -1);
}

void draw_text_quad_sized(TTF_Font *font, const char *str, SDL_Color color, float x, float y,
                          float alpha, int w, int h) {
    text(font, str, color, x, y, alpha, w, h);
}

void text_frame_end() {
    for (TextSlot &s : slots)
        if (s.drawn.texture && s.frame != frame_number) release(s);
    frame_number++;
}

void text_cache_reset(int enabled) {
    for (TextSlot &s : slots)
        if (s.drawn.texture) release(s);
    caching = enabled;
}

int text_cache_textures() {
    int n = 0;
    for (const TextSlot &s : slots) n += s.drawn.texture != 0;
    return n;
}
