#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>

#include <vexel/draw.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

// Room for count vertices of one untextured shape in the colour (alpha 0 for the colour key);
// null without a context. punch switches the alpha test off for them.
BatchVertex* primitive_vertices(BatchShape shape, int32_t count, int32_t colour, bool punch) {
    if (!gl_ready()) return nullptr;
    BatchVertex* out = batch_vertices(BatchState{-1, false, false, punch}, shape, count);
    if (!out) return nullptr;
    const bool key = colour == texture_store().sprite_colour_key;
    BatchVertex coloured{};
    coloured.r = static_cast<uint8_t>(colour & 0xFF);
    coloured.g = static_cast<uint8_t>(colour >> 8 & 0xFF);
    coloured.b = static_cast<uint8_t>(colour >> 16 & 0xFF);
    coloured.a = key ? uint8_t{0} : static_cast<uint8_t>(global_alpha() * 255.0f);
    std::fill_n(out, count, coloured);
    return out;
}

void place(BatchVertex& vertex, float x, float y) {
    vertex.x = x;
    vertex.y = y;
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
    BatchVertex* line = primitive_vertices(BatchShape::kLines, 2, colour, false);
    if (!line) return;
    place(line[0], float(x1), float(y1));
    place(line[1], float(x2), float(y2));
    // The line leaves out its last pixel: a point sets it.
    if (BatchVertex* end = primitive_vertices(BatchShape::kPoints, 1, colour, false))
        place(*end, float(x2), float(y2));
}

void draw_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    if (!gl_ready()) return;
    // A key-coloured rectangle punches alpha 0 into the target, which the alpha test would stop.
    const bool punch = colour == texture_store().sprite_colour_key &&
                       platform::gl_enable_cache_state(GL_ALPHA_TEST) != 0;
    BatchVertex* corners = primitive_vertices(BatchShape::kQuads, 4, colour, punch);
    if (!corners) return;
    float left, right, top, bottom;
    span(x, w, left, right);
    span(y, h, top, bottom);
    place(corners[0], left, top);
    place(corners[1], right, top);
    place(corners[2], right, bottom);
    place(corners[3], left, bottom);
}

void set_pixel(int32_t x, int32_t y, int32_t colour) {
    if (BatchVertex* point = primitive_vertices(BatchShape::kPoints, 1, colour, false))
        place(*point, float(x), float(y));
}

int32_t get_pixel(int32_t x, int32_t y) {
    if (!gl_ready()) return 0;
    flush_2d_batch();
    const RenderContext target = render_context();
    int64_t column = x;
    int64_t line = y;
    unmap_position(target, column, line);
    if (column < 0 || line < 0 || column >= target.width || line >= target.height) return 0;
    // An offscreen surface's framebuffer reads from its colour attachment 0 by default.
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (gl->render_target < 0) glReadBuffer(gl->letterbox.read_buffer());
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
