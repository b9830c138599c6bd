#include "engine3d/render_switches.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include <vexel/scene3d.h>

#include "engine3d/cel_effect.h"
#include "engine3d/duderedi_3d.h"
#include "engine3d/texture_binding.h"
#include "platform/gl_enable_cache.h"

namespace vexel::engine3d {

void apply_cull_mode(int32_t mode) {
    const int32_t sign = mode > 0 ? 1 : mode < 0 ? -1 : 0;
    if (Duderedi3D* state = duderedi_3d()) state->cull_mode = static_cast<int8_t>(sign);
    if (sign == 0) {
        platform::gl_disable(GL_CULL_FACE);
    } else {
        platform::gl_enable(GL_CULL_FACE);
        glFrontFace(sign > 0 ? GL_CW : GL_CCW);
    }
    glCullFace(GL_BACK);
}

}  // namespace vexel::engine3d

namespace vexel {

using engine3d::duderedi_3d;
using engine3d::scene_globals;

void set_cull_mode(double mode) {
    if (!duderedi_3d()) return;
    // The number is truncated before its sign is taken: -0.5 means 0.
    const double whole = std::trunc(mode);
    const int32_t sign = whole > 0 ? 1 : whole < 0 ? -1 : 0;
    scene_globals().remembered_cull_mode = sign;
    engine3d::apply_cull_mode(sign);
}

void set_sphere_mapping(int32_t on) {
    if (engine3d::Duderedi3D* state = duderedi_3d()) state->sphere_mapping = on != 0 ? 1 : 0;
}

void set_textures(int32_t tex1, int32_t tex2) {
    if (!duderedi_3d()) return;
    scene_globals().texture_1 = tex1;
    scene_globals().texture_2 = tex2;
    engine3d::bind_scene_textures(tex1, tex2);
    engine3d::set_sampler_units();
}

void set_texture_mipmapping(int32_t on) {
    scene_globals().texture_mipmapping = on != 0 ? 1 : 0;
}

void set_texture_offset(double du, double dv) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    state->texture_offset_u = static_cast<float>(du);
    state->texture_offset_v = static_cast<float>(dv);
}

void set_cel_shading(const DynArray<double>& intensities) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    state->cel_levels.clear();
    const int32_t count = intensities.count();
    for (int32_t i = 0; i < count; ++i) {
        // Out-of-range intensities (and NaN) are held to 0..1 so the byte cannot wrap.
        const double value = intensities.elements()[i];
        const double level = value >= 0 ? std::min(value, 1.0) : 0.0;
        state->cel_levels.push_back(static_cast<uint8_t>(level * 255));
    }
    if (state->cel_levels.empty()) state->cel_levels.push_back(255);
    engine3d::forget_ramp_textures(*state);
}

}  // namespace vexel
