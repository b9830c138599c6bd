// Opening and closing a 3D frame: begin_3d sets up the projection for the window (or the
// offscreen surface drawn to) and resets every switch a frame has to set again.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include <vexel/scene3d.h>

#include "engine3d/camera.h"
#include "engine3d/duderedi_3d.h"
#include "engine3d/render_switches.h"
#include "engine3d/shadow_pass.h"
#include "engine3d/texture_binding.h"
#include "engine3d/transform_stack.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWidestViewCone = 89.0;
constexpr double kViewConeMargin = 5.0;

float cone_tangent(double degrees) {
    return static_cast<float>(std::tan(degrees * kPi / 180.0));
}

// The turn of the screen the script draws on, as the window's 2D projection applies it.
engine3d::Matrix4 orientation_matrix(int32_t orientation) {
    engine3d::Matrix4 m = engine3d::identity_matrix();
    if (orientation == 1 || orientation == 3) {
        m[0] = m[5] = 0;
        m[1] = orientation == 1 ? -1.0f : 1.0f;
        m[4] = -m[1];
    } else if (orientation == 2) {
        m[0] = m[5] = -1;
    }
    return m;
}

// The viewport rectangle of the window or the surface, and the projection base under it.
void load_projection_base(platform::OpenGLDuderedi& gl) {
    gl.set_viewport(gl.viewport_x, gl.viewport_y, gl.viewport_width, gl.viewport_height);
    glMatrixMode(GL_PROJECTION);
    if (gl.render_target >= 0) {
        glLoadIdentity();
    } else {
        glLoadMatrixf(orientation_matrix(gl.orientation).data());
    }
}

void set_projection(engine3d::Duderedi3D& state, double near_plane, double far_plane, double fov,
                    double width_over_height) {
    const float n = static_cast<float>(near_plane);
    const float f = static_cast<float>(far_plane);
    const float a = static_cast<float>(width_over_height);
    if (fov > 0) {
        const float h = static_cast<float>(near_plane * std::tan(fov * kPi / 360.0));
        state.projection_matrix = engine3d::frustum_matrix(-a * h, a * h, -h, h, n, f);
    } else {
        const float h = static_cast<float>(near_plane * std::tan(-fov * kPi / 360.0) * 100.0);
        state.projection_matrix = engine3d::ortho_matrix(-a * h, a * h, -h, h, n, f);
        state.view_cone_tangent = cone_tangent(kWidestViewCone);
    }
    glMultMatrixf(state.projection_matrix.data());
}

void reset_frame_switches() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    platform::gl_enable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    for (uint32_t capability :
         {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_POINT,
          GL_AUTO_NORMAL, GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING})
        platform::gl_disable(capability);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
    platform::gl_enable(GL_DITHER);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 0);
    platform::gl_enable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
}

}  // namespace

void begin_3d(double near_plane, double far_plane, double fov) {
    engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state || !state->gl_context) return;
    platform::OpenGLDuderedi& gl = *state->gl_context;
    gl.depth_clear_pending = true;
    engine3d::set_shadow_pass(*state, false);

    state->view_cone_tangent = cone_tangent(std::min(fov + kViewConeMargin, kWidestViewCone));
    std::copy_n(engine3d::kDefaultUp, 3, state->camera_up);
    state->near_plane = static_cast<float>(near_plane);
    state->far_plane = static_cast<float>(far_plane);
    const double width_over_height =
        gl.viewport_height != 0 ? double(gl.viewport_width) / double(gl.viewport_height) : 1.0;
    load_projection_base(gl);
    set_projection(*state, near_plane, far_plane, fov, width_over_height);
    reset_frame_switches();

    state->sphere_mapping = 0;
    state->lights_mask = 0;
    state->effect_enabled = 0;
    engine3d::reset_transform_stack(state->transform_stack);
    set_cull_mode(0);
    state->texture_offset_u = state->texture_offset_v = 0;
    engine3d::unbind_scene_textures();

    const float eye[3] = {0, 0, 0};
    const float target[3] = {0, 0, -1};
    std::copy_n(eye, 3, state->camera_eye);
    std::copy_n(target, 3, state->camera_target);
    engine3d::load_camera(*state, eye, target, engine3d::kDefaultUp);

    engine3d::scene_globals().texture_1 = -1;
    engine3d::scene_globals().texture_2 = -1;
    engine3d::unbind_scene_textures();
    engine3d::apply_smoothing_filters(false);
    engine3d::set_sampler_units();
}

void end_3d() {
    engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state || !state->gl_context) return;
    engine3d::set_shadow_pass(*state, false);
    platform::OpenGLDuderedi& gl = *state->gl_context;
    gl.set_viewport(gl.viewport_x, gl.viewport_y, gl.viewport_width, gl.viewport_height);
}

void clear_depth_buffer() {
    engine3d::Duderedi3D* state = engine3d::duderedi_3d();
    if (!state) return;
    engine3d::set_shadow_pass(*state, false);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void set_depth_test(int32_t on) {
    if (!engine3d::duderedi_3d()) return;
    if (on != 0) {
        platform::gl_enable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    } else {
        platform::gl_disable(GL_DEPTH_TEST);
    }
}

}  // namespace vexel
