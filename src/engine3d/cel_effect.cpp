#include "engine3d/cel_effect.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "engine3d/buffer_objects.h"
#include "engine3d/render_switches.h"
#include "engine3d/texture_binding.h"
#include "engine3d/vertex_arrays.h"
#include "engine3d/vertex_source.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel::engine3d {

namespace {

constexpr int32_t kNarrowestRamp = 64;
constexpr int32_t kWidestRamp = 512;
// palette_index is one byte: rows beyond 256 could never be looked up.
constexpr size_t kMostRows = 256;
constexpr float kOutlineFactor = 0.003f;
constexpr float kThinnestOutline = 1e-7f;

size_t row_count(size_t palette_size) {
    size_t rows = 1;
    while (rows < palette_size && rows < kMostRows)
        rows *= 2;
    return rows;
}

int32_t ramp_width(size_t levels) {
    int32_t width = kNarrowestRamp;
    while (static_cast<size_t>(width) < 4 * levels && width < kWidestRamp)
        width *= 2;
    return width;
}

// The colour a ramp row shades: the palette entry, white for the marker and white values.
void row_colour(const std::vector<int32_t>& palette, size_t row, uint8_t out[3]) {
    const int32_t value = palette.empty() ? -1 : palette[row < palette.size() ? row : 0];
    const bool white = value < 0 && value >= kWhiteVertex;
    for (int channel = 0; channel < 3; ++channel)
        out[channel] = white ? 255 : static_cast<uint8_t>((value >> (8 * channel)) & 0xFF);
}

std::vector<uint8_t> ramp_texels(const std::vector<int32_t>& palette, size_t rows, int32_t width,
                                 const std::vector<uint8_t>& levels) {
    std::vector<uint8_t> texels(rows * static_cast<size_t>(width) * 4);
    uint8_t* texel = texels.data();
    for (size_t row = 0; row < rows; ++row) {
        uint8_t colour[3];
        row_colour(palette, row, colour);
        for (int32_t j = 0; j < width; ++j) {
            const uint32_t level =
                levels[static_cast<size_t>(j) * levels.size() / static_cast<size_t>(width)];
            for (int channel = 0; channel < 3; ++channel)
                *texel++ = static_cast<uint8_t>(colour[channel] * level / 255);
            *texel++ = 255;
        }
    }
    return texels;
}

float mean_scale(const TransformFrame& level) {
    return (level.scale[0] + level.scale[1] + level.scale[2]) / 3.0f;
}

}  // namespace

uint32_t ensure_ramp_texture(MeshObjectX& mesh, std::vector<uint8_t>& levels) {
    if (mesh.gpu.ramp_texture) return mesh.gpu.ramp_texture;
    if (levels.empty()) levels.assign(std::begin(kDefaultCelLevels), std::end(kDefaultCelLevels));
    const size_t rows = row_count(mesh.palette.size());
    const int32_t width = ramp_width(levels.size());
    const std::vector<uint8_t> texels = ramp_texels(mesh.palette, rows, width, levels);
    glGenTextures(1, &mesh.gpu.ramp_texture);
    glBindTexture(GL_TEXTURE_2D, mesh.gpu.ramp_texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, static_cast<GLsizei>(rows), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    mesh.gpu.ramp_row_height = 1.0f / static_cast<float>(rows);
    return mesh.gpu.ramp_texture;
}

void forget_ramp_textures(Duderedi3D& state) {
    for (ObjectSlot& slot : state.objects) {
        for (MeshObjectX& mesh : slot.meshes) {
            if (!mesh.gpu.ramp_texture) continue;
            glDeleteTextures(1, &mesh.gpu.ramp_texture);
            mesh.gpu.ramp_texture = 0;
        }
    }
}

float outline_width(const Duderedi3D& state, const Matrix4& m, const MeshFrame& frame) {
    if (state.cull_mode == 0) return -1;
    Matrix4 inverse;
    if (!invert(m, inverse)) return -1;
    const float* e = state.camera_eye;
    const std::array<float, 4> eye = transform(inverse, e[0], e[1], e[2], 1);
    const float dx = eye[0] - frame.bound_centre.x;
    const float dy = eye[1] - frame.bound_centre.y;
    const float dz = eye[2] - frame.bound_centre.z;
    float width = std::sqrt(dx * dx + dy * dy + dz * dz) * state.view_cone_tangent * kOutlineFactor;
    const TransformStack& stack = state.transform_stack;
    for (int32_t level = 0; level <= stack.depth && level < kTransformLevels; ++level) {
        const float mean = mean_scale(stack.levels[level]);
        width /= mean * mean;
    }
    if (!(width <= frame.bound_radius * 0.5f)) return -1;
    return std::max(width, kThinnestOutline);
}

void draw_outline(Duderedi3D& state, MeshObjectX& mesh, float width) {
    const int32_t cull_mode = state.cull_mode;
    const float alpha = state.gl_context ? state.gl_context->global_alpha : 1.0f;
    apply_cull_mode(-cull_mode);
    push_out_along_normals(mesh.blend, width);
    unbind_scene_textures();
    platform::gl_disable(GL_LIGHTING);
    platform::gl_enable(GL_COLOR_MATERIAL);
    glColor4f(0, 0, 0, alpha);
    glDepthFunc(GL_LEQUAL);
    enable_position_array(bind_stream_vertices(mesh, mesh.blend));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(mesh.blend.size()));
    disable_vertex_arrays();
    unbind_vertex_buffer();
    glDepthFunc(GL_LESS);
    bind_scene_textures(scene_globals().texture_1, scene_globals().texture_2);
    if (state.lights_mask != 0) platform::gl_enable(GL_LIGHTING);
    apply_cull_mode(cull_mode);
}

}  // namespace vexel::engine3d
