// Lights, the light-effect selectors and fog.
#include <GL/gl.h>

#include <array>
#include <cmath>

#include <vexel/app.h>
#include <vexel/scene3d.h>

#include "engine3d/duderedi_3d.h"
#include "engine3d/shadow_pass.h"
#include "mesh/vec3_math.h"
#include "platform/gl_enable_cache.h"

namespace vexel {

namespace {

constexpr double kEffectThreshold = 0.00001;
constexpr int32_t kDebugLightColour = 8440063;
constexpr int32_t kDebugSpotColour = 7121633;
constexpr float kDebugSpotLength = 500;

void set_light_effect(engine3d::Duderedi3D& state, int32_t num, int32_t colour, Vec3f position,
                      double cutoff) {
    state.effect_enabled = std::fabs(cutoff) >= kEffectThreshold ? 1 : 0;
    if (state.effect_enabled) {
        state.shadow_colour = colour;
        state.effect_light[0] = position.x;
        state.effect_light[1] = position.y;
        state.effect_light[2] = position.z;
    }
    if (num == -3) {
        state.effect_mode = engine3d::kEffectStencilShadows;
        engine3d::set_shadow_pass(state, state.effect_enabled != 0);
    } else if (num == -1) {
        state.effect_mode = engine3d::kEffectBumpMapping;
    } else {
        state.effect_mode = engine3d::kEffectCelShading;
    }
}

// The light's parameters, taken in the current modelview space.
void place_light(GLenum light, int32_t colour, Vec3f p, Vec3f d, double cutoff) {
    const std::array<float, 4> colour_values = colour_floats(colour);
    const float* diffuse = colour_values.data();
    const float no_highlight[4] = {0, 0, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const bool all_zero = p.x == 0 && p.y == 0 && p.z == 0 && d.x == 0 && d.y == 0 && d.z == 0;
    if (all_zero) {
        const float along_view[4] = {0, 0, 1, 0};
        glLightfv(light, GL_POSITION, along_view);
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_SPECULAR, no_highlight);
        glLightf(light, GL_SPOT_CUTOFF, 180);
    } else if (cutoff == 180) {
        const Vec3f n = normalised(d);
        const float towards_light[4] = {-n.x, -n.y, -n.z, 0};
        glLightf(light, GL_SPOT_CUTOFF, 180);
        glLightfv(light, GL_POSITION, towards_light);
        glLightfv(light, GL_SPECULAR, no_highlight);
        glLightfv(light, GL_DIFFUSE, diffuse);
    } else {
        const float position[4] = {p.x, p.y, p.z, 1};
        if (cutoff > 90) {
            glLightf(light, GL_SPOT_CUTOFF, 180);
        } else {
            const Vec3f n = normalised(d);
            const float direction[3] = {n.x, n.y, n.z};
            glLightf(light, GL_SPOT_CUTOFF, static_cast<float>(cutoff));
            glLightfv(light, GL_SPOT_DIRECTION, direction);
        }
        glLightfv(light, GL_POSITION, position);
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_SPECULAR, diffuse);
    }
    glPopMatrix();
}

void draw_light_marker(Vec3f p, Vec3f d, double cutoff) {
    draw_dot_3d(p.x, p.y, p.z, 40, kDebugLightColour);
    const bool all_zero = p.x == 0 && p.y == 0 && p.z == 0 && d.x == 0 && d.y == 0 && d.z == 0;
    if (all_zero || cutoff > 90) return;
    const Vec3f n = normalised(d);
    draw_line_3d(p.x, p.y, p.z, p.x + n.x * kDebugSpotLength, p.y + n.y * kDebugSpotLength,
                 p.z + n.z * kDebugSpotLength, 3, kDebugSpotColour);
}

void set_gl_light(engine3d::Duderedi3D& state, int32_t num, int32_t colour, Vec3f p, Vec3f d,
                  double cutoff, bool debug_shapes) {
    const int32_t index = num & 7;
    const GLenum light = GL_LIGHT0 + static_cast<GLenum>(index);
    const auto bit = static_cast<uint8_t>(1u << index);
    if (cutoff == 0) {
        platform::gl_disable(light);
        state.lights_mask = static_cast<uint8_t>(state.lights_mask & ~bit);
        if (state.lights_mask == 0) platform::gl_disable(GL_LIGHTING);
        return;
    }
    platform::gl_enable(GL_LIGHTING);
    platform::gl_enable(light);
    state.lights_mask = static_cast<uint8_t>(state.lights_mask | bit);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    place_light(light, colour, p, d, cutoff);
    if (debug_shapes && project_settings().debug_mode) draw_light_marker(p, d, cutoff);
}

}  // namespace

void set_light(int32_t num, int32_t colour, double x, double y, double z, double dx, double dy,
               double dz, double cutoff) {
    engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state) return;
    const Vec3f p{float(x), float(y), float(z)};
    const Vec3f d{float(dx), float(dy), float(dz)};
    if (num < 0) {
        set_light_effect(*state, num, colour, p, cutoff);
    } else {
        set_gl_light(*state, num, colour, p, d, cutoff, true);
    }
}

void set_camera_light(int32_t num, int32_t colour) {
    engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state) return;
    const float* eye = state->camera_eye;
    const Vec3f p{eye[0], eye[1], eye[2]};
    const Vec3f d{-eye[0], -eye[1], -eye[2]};
    if (num < 0) {
        set_light_effect(*state, num, colour, p, 180);
    } else {
        set_gl_light(*state, num, colour, p, d, 180, false);
    }
}

void set_fog(int32_t colour, int32_t mode, double a, double b) {
    const engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state) return;
    if (colour == -1) {
        platform::gl_disable(GL_FOG);
        return;
    }
    platform::gl_enable(GL_FOG);
    glFogfv(GL_FOG_COLOR, colour_floats(colour, 0).data());
    if (mode != 0) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, static_cast<float>(a));
        return;
    }
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const bool from_planes = a == 0 && b == 0;
    glFogf(GL_FOG_START, from_planes ? state->near_plane : static_cast<float>(a));
    glFogf(GL_FOG_END, from_planes ? state->far_plane : static_cast<float>(b));
}

}  // namespace vexel
