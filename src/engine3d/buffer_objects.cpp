#include "engine3d/buffer_objects.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/gl_extensions.h"

namespace vexel::engine3d {

namespace {

bool g_allowed = true;
uint64_t g_uploads = 0;

void fill(uint32_t& buffer, const std::vector<MeshVertex>& records, GLenum usage) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (!buffer) procs.glGenBuffersARB(1, &buffer);
    procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    procs.glBufferDataARB(GL_ARRAY_BUFFER_ARB,
                          static_cast<GLsizeiptrARB>(records.size() * sizeof(MeshVertex)),
                          records.data(), usage);
    ++g_uploads;
}

}  // namespace

bool buffer_objects_in_use() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    return g_allowed && procs.glGenBuffersARB && procs.glBindBufferARB && procs.glBufferDataARB &&
           procs.glDeleteBuffersARB;
}

void allow_buffer_objects(bool allowed) {
    g_allowed = allowed;
}

VertexBase bind_static_vertices(MeshObjectX& mesh) {
    const std::vector<MeshVertex>& records = mesh.frames[0].triangles;
    if (!buffer_objects_in_use()) return reinterpret_cast<VertexBase>(records.data());
    if (mesh.gpu.static_buffer) {
        platform::gl_extension_procs().glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.gpu.static_buffer);
    } else {
        fill(mesh.gpu.static_buffer, records, GL_STATIC_DRAW_ARB);
    }
    return nullptr;
}

VertexBase bind_stream_vertices(MeshObjectX& mesh, const std::vector<MeshVertex>& records) {
    if (!buffer_objects_in_use()) return reinterpret_cast<VertexBase>(records.data());
    fill(mesh.gpu.stream_buffer, records, GL_STREAM_DRAW_ARB);
    return nullptr;
}

void unbind_vertex_buffer() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glBindBufferARB) procs.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void forget_static_vertices(MeshObjectX& mesh) {
    if (!mesh.gpu.static_buffer) return;
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glDeleteBuffersARB) procs.glDeleteBuffersARB(1, &mesh.gpu.static_buffer);
    mesh.gpu.static_buffer = 0;
}

uint64_t vertex_upload_count() {
    return g_uploads;
}

}  // namespace vexel::engine3d
