// One mesh of a slot, from the choice of its frames to the restored drawing state.
#include <GL/gl.h>

#include "engine3d/buffer_objects.h"
#include "engine3d/draw_slot.h"
#include "engine3d/frame_choice.h"
#include "engine3d/frustum.h"
#include "engine3d/slot_textures.h"
#include "engine3d/transform_stack.h"
#include "engine3d/vertex_arrays.h"
#include "engine3d/vertex_source.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel::engine3d {

namespace {

float current_alpha(const Duderedi3D& state) {
    return state.gl_context ? state.gl_context->global_alpha : 1.0f;
}

bool texture_offset_set(const Duderedi3D& state) {
    return state.texture_offset_u != 0 || state.texture_offset_v != 0;
}

// The records to draw, bound: frame A itself when nothing changes them, else the blend buffer.
VertexBase bind_source(Duderedi3D& state, MeshObjectX& mesh, const FrameChoice& choice) {
    if (choice.weight == 0 && !texture_offset_set(state)) {
        if (choice.a == 0) return bind_static_vertices(mesh);
        return bind_stream_vertices(mesh, mesh.frames[static_cast<size_t>(choice.a)].triangles);
    }
    BlendExtras extras;
    extras.offset_u = state.texture_offset_u;
    extras.offset_v = state.texture_offset_v;
    fill_blend_buffer(mesh, choice, extras);
    return bind_stream_vertices(mesh, mesh.blend);
}

ArrayLayout plain_layout(const Duderedi3D& state, const MeshObjectX& mesh) {
    ArrayLayout layout;
    layout.second_unit = second_unit_textured();
    layout.vertex_colours = mesh.has_vertex_colours != 0;
    layout.normals = state.lights_mask != 0 || state.sphere_mapping != 0;
    layout.sphere_mapping = state.sphere_mapping != 0;
    return layout;
}

}  // namespace

void draw_mesh(Duderedi3D& state, MeshObjectX& mesh, const DrawRequest& request) {
    if (mesh.frames.empty()) return;
    const FrameChoice choice =
        choose_frames(request.frame_a, request.frame_b, request.t, request.loop,
                      static_cast<int32_t>(mesh.frames.size()));
    const Matrix4 matrix = rebuild_level_matrix(state.transform_stack);
    const MeshFrame& frame = mesh.frames[static_cast<size_t>(choice.a)];
    if (frame.triangles.empty()) return;
    if (!sphere_visible(state.frustum_planes,
                        transformed_sphere(matrix, frame.bound_centre, frame.bound_radius)))
        return;

    const float alpha = current_alpha(state);
    glColor4f(1, 1, 1, alpha);
    platform::gl_enable(GL_COLOR_MATERIAL);

    const VertexBase base = bind_source(state, mesh, choice);
    enable_vertex_arrays(base, plain_layout(state, mesh));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(matrix.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(frame.triangles.size()));
    disable_vertex_arrays();
    unbind_vertex_buffer();

    modulate_both_units();
    glPopMatrix();
    platform::gl_disable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, alpha);
}

}  // namespace vexel::engine3d
