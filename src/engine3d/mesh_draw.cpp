// One mesh of a slot, from the choice of its frames to the restored drawing state.
#include <GL/gl.h>

#include <GL/glext.h>

#include "engine3d/buffer_objects.h"
#include "engine3d/cel_effect.h"
#include "engine3d/draw_slot.h"
#include "engine3d/frame_choice.h"
#include "engine3d/frustum.h"
#include "engine3d/light_effects.h"
#include "engine3d/shadow_volume.h"
#include "engine3d/slot_textures.h"
#include "engine3d/texture_binding.h"
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
VertexBase bind_source(Duderedi3D& state, MeshObjectX& mesh, const FrameChoice& choice,
                       const BlendExtras& extras) {
    if (extras.effect == 0 && choice.weight == 0 && !texture_offset_set(state)) {
        if (choice.a == 0) return bind_static_vertices(mesh);
        return bind_stream_vertices(mesh, mesh.frames[static_cast<size_t>(choice.a)].triangles);
    }
    fill_blend_buffer(mesh, choice, extras);
    return bind_stream_vertices(mesh, mesh.blend);
}

// The ramp goes on unit 1, where the draw samples it; it is made there on first use.
uint32_t cel_ramp(Duderedi3D& state, MeshObjectX& mesh) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    const uint32_t ramp = ensure_ramp_texture(mesh, state.cel_levels);
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    return ramp;
}

ArrayLayout array_layout(Duderedi3D& state, MeshObjectX& mesh, uint8_t effect) {
    ArrayLayout layout;
    layout.effect = effect;
    if (effect == kEffectCelShading) {
        layout.ramp_texture = cel_ramp(state, mesh);
    } else if (effect == 0) {
        layout.second_unit = second_unit_textured();
        layout.vertex_colours = mesh.has_vertex_colours != 0;
    }
    layout.normals = state.lights_mask != 0 || state.sphere_mapping != 0;
    layout.sphere_mapping = state.sphere_mapping != 0;
    return layout;
}

// Mode 3 marks the shadow volume in the stencil buffer instead of drawing the mesh.
void mark_shadow_volume(Duderedi3D& state, MeshObjectX& mesh, const FrameChoice& choice,
                        const Matrix4& matrix, const Vec3f& light) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(matrix.data());
    ensure_shadow_edges(mesh);
    const MeshFrame& frame = mesh.frames[static_cast<size_t>(choice.a)];
    find_silhouette(mesh, frame, light);
    unbind_scene_textures();
    draw_shadow_volume(state, mesh, frame, light, true);
    glPopMatrix();
}

void restore_draw_state(float alpha) {
    modulate_both_units();
    platform::gl_disable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, alpha);
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
    const uint8_t effect = active_light_effect(state);
    const bool visible = sphere_visible(
        state.frustum_planes, transformed_sphere(matrix, frame.bound_centre, frame.bound_radius));
    if (!visible && effect != kEffectStencilShadows) return;

    const float alpha = current_alpha(state);
    glColor4f(1, 1, 1, alpha);
    platform::gl_enable(GL_COLOR_MATERIAL);
    BlendExtras extras;
    if (effect) {
        ensure_effect_normals(mesh, effect, state.auto_normals);
        extras.light = light_in_object_space(state, matrix);
    }
    if (effect == kEffectStencilShadows) {
        mark_shadow_volume(state, mesh, choice, matrix, extras.light);
        restore_draw_state(alpha);
        return;
    }

    const ArrayLayout layout = array_layout(state, mesh, effect);
    extras.effect = effect;
    extras.ramp_row_height = mesh.gpu.ramp_row_height;
    extras.offset_u = state.texture_offset_u;
    extras.offset_v = state.texture_offset_v;
    const VertexBase base = bind_source(state, mesh, choice, extras);
    enable_vertex_arrays(base, layout);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(matrix.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(frame.triangles.size()));
    disable_vertex_arrays();
    unbind_vertex_buffer();

    if (effect == kEffectCelShading) {
        const float width = outline_width(state, matrix, frame);
        if (width >= 0) {
            draw_outline(state, mesh, width);
        } else {
            bind_scene_textures(scene_globals().texture_1, scene_globals().texture_2);
        }
    }
    glPopMatrix();
    restore_draw_state(alpha);
}

}  // namespace vexel::engine3d
