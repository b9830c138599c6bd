#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <new>

#include <vexel/draw.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"

namespace vexel {

namespace {

constexpr size_t kFirstCapacity = 512;
constexpr int32_t kWhite = 0xFFFFFF;

// Out of memory, the vertex is dropped: the batch draws what it holds.
void append(PolygonBatch& batch, const PolygonVertex& vertex) {
    try {
        // Doubling keeps long batches linear; the first block holds the usual small polygon.
        if (batch.vertices.size() == batch.vertices.capacity())
            batch.vertices.reserve(std::max(kFirstCapacity, batch.vertices.capacity() * 2));
        batch.vertices.push_back(vertex);
    } catch (const std::bad_alloc&) {
    }
}

GLenum primitive_of(int32_t mode) {
    switch (mode) {
        case 0:
            return GL_TRIANGLE_FAN;
        case 1:
            return GL_TRIANGLES;
        default:
            return GL_TRIANGLE_STRIP;
    }
}

}  // namespace

void start_polygon(int32_t sprite, int32_t mode) {
    if (!gl_ready()) return;
    flush_2d_batch();
    PolygonBatch& batch = draw_state().polygon;
    const SpriteSlot* slot = sprite >= 0 ? texture_store().slot(sprite) : nullptr;
    bind_2d_texture(slot ? sprite : -1);
    batch.vertices.clear();
    batch.coloured = false;
    batch.mode = mode;
    batch.new_strip_pending = false;
    batch.slot = slot ? sprite : -1;
    batch.u_scale = slot && slot->texture_width > 0 ? 1.0f / slot->texture_width : 0.0f;
    batch.v_scale = slot && slot->texture_height > 0 ? 1.0f / slot->texture_height : 0.0f;
    batch.picture_height = slot ? slot->height : 0;
}

void polygon_vertex(double x, double y, double u, double v, int32_t colour) {
    PolygonBatch& batch = draw_state().polygon;
    PolygonVertex vertex{static_cast<float>(x), static_cast<float>(y), 0, 0, 255, 255, 255, 255};
    if (batch.slot >= 0) {
        vertex.u = static_cast<float>(u) * batch.u_scale;
        vertex.v = static_cast<float>(batch.picture_height - v) * batch.v_scale;
    }
    if (colour != kWhite) {
        vertex.r = static_cast<uint8_t>(colour & 0xFF);
        vertex.g = static_cast<uint8_t>(colour >> 8 & 0xFF);
        vertex.b = static_cast<uint8_t>(colour >> 16 & 0xFF);
        batch.coloured = true;
    }
    const float alpha = global_alpha();
    if (colour == texture_store().sprite_colour_key)
        vertex.a = 0;
    else if (alpha != 1.0f)
        vertex.a = static_cast<uint8_t>(alpha * 255.0f);
    append(batch, vertex);
    if (batch.new_strip_pending) {
        append(batch, vertex);
        batch.new_strip_pending = false;
    }
}

void polygon_new_strip() {
    PolygonBatch& batch = draw_state().polygon;
    if (batch.vertices.empty() || batch.new_strip_pending) return;
    batch.new_strip_pending = true;
    const PolygonVertex last = batch.vertices.back();
    append(batch, last);
}

void end_polygon() {
    PolygonBatch& batch = draw_state().polygon;
    if (!gl_ready() || batch.mode < 0 || batch.mode > 2) return;
    if (batch.vertices.empty()) return;
    flush_2d_batch();
    // Vertex arrays from our own memory, whatever buffer the 3D code left bound.
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glBindBufferARB) procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    const PolygonVertex* first = batch.vertices.data();
    const bool textured = texture_store().bound_2d_slot >= 0 && batch.slot >= 0;
    const bool coloured = batch.coloured || global_alpha() != 1.0f;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->x);
    if (textured) {
        apply_2d_texture_parameters(texture_store().bound_2d_slot, false, nearest_2d_filters());
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->u);
    }
    if (coloured) {
        platform::gl_enable(GL_COLOR_MATERIAL);
        glShadeModel(GL_SMOOTH);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PolygonVertex), &first->r);
    }
    glDrawArrays(primitive_of(batch.mode), 0, static_cast<GLsizei>(batch.vertices.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    platform::gl_disable(GL_COLOR_MATERIAL);
    glShadeModel(GL_FLAT);
    restore_2d_colour();
}

}  // namespace vexel
