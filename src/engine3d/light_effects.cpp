#include "engine3d/light_effects.h"

#include "engine3d/buffer_objects.h"
#include "platform/gl_extensions.h"

namespace vexel::engine3d {

uint8_t active_light_effect(const Duderedi3D& state) {
    if (!state.effect_enabled) return 0;
    if (state.effect_mode == kEffectStencilShadows) return kEffectStencilShadows;
    if (state.effect_mode != kEffectBumpMapping && state.effect_mode != kEffectCelShading) return 0;
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (!procs.glActiveTextureARB || !procs.glClientActiveTextureARB) return 0;
    return state.effect_mode;
}

void ensure_effect_normals(MeshObjectX& mesh, uint8_t effect, int32_t auto_normals) {
    const bool tangents = effect == kEffectBumpMapping;
    if (mesh.normals_valid && (!tangents || mesh.tangents_valid)) return;
    const int32_t mode = tangents && auto_normals == 2 ? 2 : 1;
    generate_normals(mesh, mode, tangents);
    mesh.prepare();
    forget_static_vertices(mesh);
}

Vec3f light_in_object_space(const Duderedi3D& state, const Matrix4& m) {
    const float* l = state.effect_light;
    Matrix4 inverse;
    if (!invert(m, inverse)) return Vec3f{l[0], l[1], l[2]};
    const std::array<float, 4> p = transform(inverse, l[0], l[1], l[2], 1);
    return Vec3f{p[0], p[1], p[2]};
}

}  // namespace vexel::engine3d
