#include "gfx2d/draw_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <new>
#include <vector>

#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"

namespace vexel {

namespace {

// A longer batch is drawn in parts, so that its vertices stay in the caches on their way to
// the driver.
constexpr size_t kMostVertices = size_t{1} << 16;

struct Segment {
    BatchShape shape;
    GLint first;
    GLsizei count;
};

struct Batch {
    std::vector<BatchVertex> vertices;
    std::vector<Segment> segments;
    BatchState state;
    // Per slot: the wrapping and filters last set on its texture, as epoch << 2 | clamp << 1 |
    // nearest; an entry of an older epoch says nothing.
    std::vector<uint64_t> parameters;
    uint64_t epoch = 1;
    std::vector<GLint> firsts;  // for drawing a row of fans or strips in one call
    std::vector<GLsizei> counts;
};

Batch& batch() {
    static Batch instance;
    return instance;
}

bool stands_alone(BatchShape shape) {
    return shape == BatchShape::kFan || shape == BatchShape::kStrip;
}

GLenum primitive_of(BatchShape shape) {
    switch (shape) {
        case BatchShape::kQuads:
            return GL_QUADS;
        case BatchShape::kFan:
            return GL_TRIANGLE_FAN;
        case BatchShape::kStrip:
            return GL_TRIANGLE_STRIP;
        case BatchShape::kLines:
            return GL_LINES;
        case BatchShape::kPoints:
            break;
    }
    return GL_POINTS;
}

// Fans and strips that follow each other go in one call, each still a primitive of its own.
size_t draw_row(Batch& b, size_t at) {
    const BatchShape shape = b.segments[at].shape;
    b.firsts.clear();
    b.counts.clear();
    size_t end = at;
    for (; end < b.segments.size() && b.segments[end].shape == shape; ++end) {
        b.firsts.push_back(b.segments[end].first);
        b.counts.push_back(b.segments[end].count);
    }
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glMultiDrawArraysEXT) {
        procs.glMultiDrawArraysEXT(primitive_of(shape), b.firsts.data(), b.counts.data(),
                                   static_cast<GLsizei>(b.firsts.size()));
    } else {
        for (size_t i = 0; i < b.firsts.size(); ++i)
            glDrawArrays(primitive_of(shape), b.firsts[i], b.counts[i]);
    }
    return end;
}

void draw_segments(Batch& b) {
    for (size_t at = 0; at < b.segments.size();) {
        const Segment& segment = b.segments[at];
        if (stands_alone(segment.shape)) {
            at = draw_row(b, at);
        } else {
            glDrawArrays(primitive_of(segment.shape), segment.first, segment.count);
            ++at;
        }
    }
}

// Untextured runs are coloured by their vertices and shifted so that integer coordinates hit
// pixel centres; textured runs take the current colour.
void draw_run(Batch& b) {
    const BatchState& state = b.state;
    const BatchVertex* first = b.vertices.data();
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    // Vertex arrays from our own memory, whatever buffer the 3D code left bound.
    if (procs.glBindBufferARB) procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(BatchVertex), &first->x);
    if (state.slot >= 0) {
        // Reading a collision mask binds another texture without drawing anything.
        if (const SpriteSlot* sprite = texture_store().slot(state.slot))
            glBindTexture(GL_TEXTURE_2D, sprite->texture);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &first->u);
        draw_segments(b);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    } else {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(BatchVertex), &first->r);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glTranslatef(0.375f, 0.375f, 0);
        glMatrixMode(GL_MODELVIEW);
        if (state.punch) platform::gl_disable(GL_ALPHA_TEST);
        draw_segments(b);
        if (state.punch) apply_alpha_test();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glDisableClientState(GL_COLOR_ARRAY);
        restore_2d_colour();
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

// Starts a run in the state unless the batch already holds one in it.
void enter_state(Batch& b, const BatchState& state) {
    if (!b.vertices.empty() && state == b.state) return;
    flush_2d_batch();
    b.state = state;
    bind_2d_texture(state.slot);
    if (state.slot >= 0) apply_2d_texture_parameters(state.slot, state.clamp, state.nearest);
}

}  // namespace

BatchVertex* batch_vertices(const BatchState& state, BatchShape shape, int32_t count) {
    if (count < 1 || !gl_ready()) return nullptr;
    Batch& b = batch();
    if (b.vertices.size() + size_t(count) > kMostVertices) flush_2d_batch();
    enter_state(b, state);
    const size_t first = b.vertices.size();
    try {
        b.vertices.resize(first + size_t(count));
        if (!b.segments.empty() && b.segments.back().shape == shape && !stands_alone(shape)) {
            b.segments.back().count += count;
        } else {
            b.segments.push_back({shape, static_cast<GLint>(first), count});
        }
    } catch (const std::bad_alloc&) {
        b.vertices.resize(first);
        return nullptr;
    }
    return b.vertices.data() + first;
}

void flush_2d_batch() {
    Batch& b = batch();
    if (b.vertices.empty()) return;
    if (gl_ready()) draw_run(b);
    b.vertices.clear();
    b.segments.clear();
}

void discard_2d_batch() {
    Batch& b = batch();
    b.vertices.clear();
    b.segments.clear();
    forget_2d_texture_parameters();
}

void apply_2d_texture_parameters(int32_t slot, bool clamp, bool nearest) {
    if (slot < 0 || slot >= kSpriteSlotCount) return;
    Batch& b = batch();
    const uint64_t wanted = b.epoch << 2 | uint64_t{clamp} << 1 | uint64_t{nearest};
    try {
        if (b.parameters.empty()) b.parameters.assign(kSpriteSlotCount, 0);
    } catch (const std::bad_alloc&) {
        b.parameters.clear();  // without the table, the parameters are set every time
    }
    if (!b.parameters.empty()) {
        uint64_t& known = b.parameters[size_t(slot)];
        if (known == wanted) return;
        known = wanted;
    }
    const GLint wrap = clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void forget_2d_texture_parameters() {
    ++batch().epoch;
}

}  // namespace vexel
