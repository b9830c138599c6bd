#include "engine3d/camera.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include <vexel/scene3d.h>

#include "engine3d/transform_stack.h"

namespace vexel::engine3d {

void load_camera(Duderedi3D& state, const float eye[3], const float target[3], const float up[3]) {
    state.view_matrix = look_at_matrix(eye, target, up);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(state.view_matrix.data());
    reset_transform_stack(state.transform_stack);
    update_frustum_planes(state);
}

void update_frustum_planes(Duderedi3D& state) {
    const Matrix4 clip = multiply(state.projection_matrix, state.view_matrix);
    for (int plane = 0; plane < 6; ++plane) {
        const int row = plane / 2;
        const float sign = plane % 2 == 0 ? 1.0f : -1.0f;
        float* p = state.frustum_planes[plane];
        for (int column = 0; column < 4; ++column)
            p[column] = clip[column * 4 + 3] + sign * clip[column * 4 + row];
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        if (length > 0) {
            for (int i = 0; i < 4; ++i)
                p[i] /= length;
        }
    }
}

}  // namespace vexel::engine3d

namespace vexel {

using engine3d::duderedi_3d;

namespace {

struct Viewport {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

Viewport current_viewport() {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, v);
    return Viewport{double(v[0]), double(v[1]), double(v[2]), double(v[3])};
}

}  // namespace

void set_camera(double eye_x, double eye_y, double eye_z, double target_x, double target_y,
                double target_z) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    const float eye[3] = {float(eye_x), float(eye_y), float(eye_z)};
    const float target[3] = {float(target_x), float(target_y), float(target_z)};
    std::copy(eye, eye + 3, state->camera_eye);
    std::copy(target, target + 3, state->camera_target);
    engine3d::load_camera(*state, eye, target, state->camera_up);
}

void set_camera_up(double x, double y, double z) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    state->camera_up[0] = float(x);
    state->camera_up[1] = float(y);
    state->camera_up[2] = float(z);
}

void get_camera_matrix(DynArray<double>& matrix) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    engine3d::fill_array(matrix, state ? state->view_matrix : engine3d::identity_matrix());
}

int32_t project_to_screen(double x, double y, double z, double& screen_x, double& screen_y,
                          double& screen_z) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return 0;
    const auto eye = engine3d::transform(state->view_matrix, float(x), float(y), float(z), 1);
    const auto clip = engine3d::transform(state->projection_matrix, eye[0], eye[1], eye[2], eye[3]);
    if (clip[3] == 0) return 0;
    const double nx = clip[0] / clip[3];
    const double ny = clip[1] / clip[3];
    const double nz = clip[2] / clip[3];
    const Viewport v = current_viewport();
    screen_x = v.x + (nx + 1) * v.width * 0.5;
    screen_y = v.height - (v.y + v.height * (ny + 1) * 0.5);
    screen_z = (nz + 1) * 0.5;
    return 1;
}

int32_t unproject_from_screen(double screen_x, double screen_y, double screen_z, double& x,
                              double& y, double& z) {
    const engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return 0;
    const Viewport v = current_viewport();
    if (v.width <= 0 || v.height <= 0) return 0;
    engine3d::Matrix4 inverse;
    if (!engine3d::invert(engine3d::multiply(state->projection_matrix, state->view_matrix),
                          inverse))
        return 0;
    // Exactly the inverse of project_to_screen, so that a point survives the round trip.
    const double nx = (screen_x - v.x) * 2 / v.width - 1;
    const double ny = (v.height - v.y - screen_y) * 2 / v.height - 1;
    const double nz = screen_z * 2 - 1;
    const auto world = engine3d::transform(inverse, float(nx), float(ny), float(nz), 1);
    if (world[3] == 0 || !std::isfinite(world[3])) return 0;
    x = world[0] / world[3];
    y = world[1] / world[3];
    z = world[2] / world[3];
    return 1;
}

}  // namespace vexel
