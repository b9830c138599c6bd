#include "engine3d/vertex_arrays.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

#include "engine3d/duderedi_3d.h"
#include "engine3d/texture_binding.h"
#include "mesh/mesh_vertex.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"

namespace vexel::engine3d {

namespace {

constexpr GLsizei kStride = sizeof(MeshVertex);

const char* at(VertexBase base, size_t offset) {
    return base + offset;
}

void select_units(GLenum unit) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glActiveTextureARB) procs.glActiveTextureARB(unit);
    if (procs.glClientActiveTextureARB) procs.glClientActiveTextureARB(unit);
}

void texture_coordinates(VertexBase base, size_t offset) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, kStride, at(base, offset));
}

// Unit 0 as the DOT3 product of the primary colour (the tangent-space light) and the normal map.
void dot3_combiner() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_EXT);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
}

void bump_units(VertexBase base) {
    select_units(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    texture_coordinates(base, offsetof(MeshVertex, u));
    select_units(GL_TEXTURE0_ARB);
    dot3_combiner();
    texture_coordinates(base, offsetof(MeshVertex, u));
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, kStride, at(base, offsetof(MeshVertex, reserved)));
}

void cel_units(VertexBase base, uint32_t ramp) {
    select_units(GL_TEXTURE1_ARB);
    texture_second_unit();
    glBindTexture(GL_TEXTURE_2D, ramp);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    texture_coordinates(base, offsetof(MeshVertex, bitangent));
    select_units(GL_TEXTURE0_ARB);
    if (glIsEnabled(GL_TEXTURE_2D)) texture_coordinates(base, offsetof(MeshVertex, u));
}

void plain_units(VertexBase base, const ArrayLayout& layout) {
    if (layout.second_unit) {
        select_units(GL_TEXTURE1_ARB);
        texture_coordinates(base, offsetof(MeshVertex, u));
        select_units(GL_TEXTURE0_ARB);
    }
    texture_coordinates(base, offsetof(MeshVertex, u));
    if (layout.vertex_colours) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, kStride, at(base, offsetof(MeshVertex, red)));
    }
}

}  // namespace

void enable_vertex_arrays(VertexBase base, const ArrayLayout& layout) {
    enable_position_array(base);
    if (layout.effect == kEffectBumpMapping) {
        bump_units(base);
    } else if (layout.effect == kEffectCelShading) {
        cel_units(base, layout.ramp_texture);
    } else {
        plain_units(base, layout);
    }
    if (layout.normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, kStride, at(base, offsetof(MeshVertex, normal)));
    }
    if (layout.sphere_mapping) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        platform::gl_enable(GL_TEXTURE_GEN_S);
        platform::gl_enable(GL_TEXTURE_GEN_T);
    }
}

void enable_position_array(VertexBase base) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, kStride, at(base, 0));
}

void disable_vertex_arrays() {
    platform::gl_disable(GL_TEXTURE_GEN_S);
    platform::gl_disable(GL_TEXTURE_GEN_T);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    select_units(GL_TEXTURE1_ARB);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    select_units(GL_TEXTURE0_ARB);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void modulate_both_units() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glActiveTextureARB) {
        procs.glActiveTextureARB(GL_TEXTURE1_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace vexel::engine3d
