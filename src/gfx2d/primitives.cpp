#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

#include <vexel/draw.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

// Sets the primitive colour (alpha 0 for the colour key), texturing off, and shifts the
// projection so that integer coordinates hit pixel centres. False without a context.
bool begin_primitive(int32_t colour) {
    if (!gl_ready()) return false;
    const bool key = colour == texture_store().sprite_colour_key;
    const auto alpha = key ? GLubyte{0} : static_cast<GLubyte>(global_alpha() * 255.0f);
    glColor4ub(static_cast<GLubyte>(colour & 0xFF), static_cast<GLubyte>(colour >> 8 & 0xFF),
               static_cast<GLubyte>(colour >> 16 & 0xFF), alpha);
    bind_2d_texture(-1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
    return true;
}

void end_primitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    restore_2d_colour();
}

// A normalised extent: a negative size reaches back from the pixel next to the start.
void span(int32_t start, int32_t size, float& from, float& to) {
    const int64_t first = size < 0 ? int64_t{start} + size + 1 : start;
    from = static_cast<float>(first);
    to = static_cast<float>(first + std::llabs(int64_t{size}));
}

// Script coordinates to window coordinates (origin top-left) for the turned screen; 64-bit so
// that no script value overflows on the way.
void unmap_position(const RenderContext& target, int64_t& x, int64_t& y) {
    const int64_t a = x;
    const int64_t b = y;
    switch (target.orientation) {
        case 1:
            x = target.width - 1 - b;
            y = a;
            break;
        case 2:
            x = target.width - 1 - a;
            y = target.height - 1 - b;
            break;
        case 3:
            x = b;
            y = target.height - 1 - a;
            break;
        default:
            break;
    }
}

}  // namespace

void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
    if (!begin_primitive(colour)) return;
    glBegin(GL_LINES);
    glVertex2i(x1, y1);
    glVertex2i(x2, y2);
    glEnd();
    glBegin(GL_POINTS);
    glVertex2i(x2, y2);
    glEnd();
    end_primitive();
}

void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    if (!begin_primitive(colour)) return;
    // A key-coloured rectangle punches alpha 0 into the target, which the alpha test would stop.
    const bool punch = colour == texture_store().sprite_colour_key &&
                       platform::gl_enable_cache_state(GL_ALPHA_TEST) != 0;
    if (punch) platform::gl_disable(GL_ALPHA_TEST);
    float left, right, top, bottom;
    span(x, w, left, right);
    span(y, h, top, bottom);
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
    if (punch) apply_alpha_test();
    end_primitive();
}

void set_pixel(int32_t x, int32_t y, int32_t colour) {
    if (!begin_primitive(colour)) return;
    glBegin(GL_POINTS);
    glVertex2i(x, y);
    glEnd();
    end_primitive();
}

int32_t get_pixel(int32_t x, int32_t y) {
    if (!gl_ready()) return 0;
    const RenderContext target = render_context();
    int64_t column = x;
    int64_t line = y;
    unmap_position(target, column, line);
    if (column < 0 || line < 0 || column >= target.width || line >= target.height) return 0;
    // An offscreen surface's framebuffer reads from its colour attachment 0 by default.
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (gl->render_target < 0) glReadBuffer(GL_BACK);
    GLubyte pixel[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    const auto read_x = static_cast<GLint>(column);
    const auto read_y = static_cast<GLint>(target.height - line - 1);
    if (target.bgra_supported) {
        glReadPixels(read_x, read_y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, pixel);
        return pixel[2] | pixel[1] << 8 | pixel[0] << 16;
    }
    glReadPixels(read_x, read_y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
}

}  // namespace vexel
