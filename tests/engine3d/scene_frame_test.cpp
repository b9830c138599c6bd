#include <gtest/gtest.h>

#include <cmath>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"

namespace vexel {
namespace {

using testing::gl_composed;
using testing::gl_integer;
using testing::gl_matrix;
using testing::Mat;
using testing::matrices_near;
using testing::scene;

constexpr double kPi = 3.14159265358979323846;

class SceneFrameTest : public testing::SceneTest {
protected:
    platform::OpenGLDuderedi& gl() { return *platform::opengl_duderedi(); }
};

TEST_F(SceneFrameTest, Fov86ClampsOnlyTheViewConeTangent) {
    begin_3d(1, 1000, 86);
    EXPECT_FLOAT_EQ(scene().view_cone_tangent, static_cast<float>(std::tan(89 * kPi / 180)));
    const double h = std::tan(86 * kPi / 360);
    const double a = 640.0 / 480.0;
    const Mat expected = gl_composed([&] { glFrustum(-a * h, a * h, -h, h, 1, 1000); });
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX), expected));
    EXPECT_TRUE(matrices_near(scene().projection_matrix, expected));
}

TEST_F(SceneFrameTest, SmallerFovKeepsFiveDegreesOfMargin) {
    begin_3d(2, 500, 45);
    EXPECT_FLOAT_EQ(scene().view_cone_tangent, static_cast<float>(std::tan(50 * kPi / 180)));
    EXPECT_FLOAT_EQ(scene().near_plane, 2);
    EXPECT_FLOAT_EQ(scene().far_plane, 500);
    const double h = 2 * std::tan(45 * kPi / 360);
    const double a = 640.0 / 480.0;
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX),
                              gl_composed([&] { glFrustum(-a * h, a * h, -h, h, 2, 500); })));
}

TEST_F(SceneFrameTest, NegativeFovIsOrthographicAHundredTimesWider) {
    begin_3d(1, 1000, -30);
    const double h = std::tan(30 * kPi / 360) * 100;
    const double a = 640.0 / 480.0;
    const Mat expected = gl_composed([&] { glOrtho(-a * h, a * h, -h, h, 1, 1000); });
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX), expected, 1e-6f));
    EXPECT_TRUE(matrices_near(scene().projection_matrix, expected, 1e-6f));
    EXPECT_FLOAT_EQ(scene().view_cone_tangent, static_cast<float>(std::tan(89 * kPi / 180)));
    // an orthographic box keeps its size with distance
    EXPECT_FLOAT_EQ(expected[11], 0);
}

TEST_F(SceneFrameTest, TurnedScreenPutsTheOrientationUnderTheProjection) {
    gl().orientation = 2;
    gl().set_viewport(0, 0, 0, 0);
    begin_3d(1, 1000, 60);
    const Mat turned = {-1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double h = std::tan(60 * kPi / 360);
    const double a = 640.0 / 480.0;
    const Mat frustum = gl_composed([&] { glFrustum(-a * h, a * h, -h, h, 1, 1000); });
    const Mat expected = gl_composed([&] {
        glLoadMatrixf(turned.data());
        glMultMatrixf(frustum.data());
    });
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX), expected));
    // the kept copy is without the turn
    EXPECT_TRUE(matrices_near(scene().projection_matrix, frustum));
}

TEST_F(SceneFrameTest, SidewaysScreenUsesTheScriptsProportions) {
    gl().orientation = 1;
    gl().set_viewport(0, 0, 0, 0);  // the script sees 480 x 640
    begin_3d(1, 1000, 60);
    const double h = std::tan(60 * kPi / 360);
    const double a = 480.0 / 640.0;
    EXPECT_TRUE(matrices_near(scene().projection_matrix,
                              gl_composed([&] { glFrustum(-a * h, a * h, -h, h, 1, 1000); })));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
}

bool surface_of_256_by_128(int32_t surface, int32_t* width, int32_t* height) {
    if (surface != 4) return false;
    *width = 256;
    *height = 128;
    return true;
}

TEST_F(SceneFrameTest, OffscreenSurfaceGetsItsViewportAndNoTurn) {
    platform::RenderHooks& hooks = platform::render_hooks();
    const auto saved = hooks.surface_size;
    hooks.surface_size = surface_of_256_by_128;
    gl().orientation = 2;  // the screen's turn does not reach a surface
    gl().render_target = 4;
    gl().set_viewport(0, 0, 0, 0);
    begin_3d(1, 1000, 60);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 256);
    EXPECT_EQ(viewport[3], 128);
    const double h = std::tan(60 * kPi / 360);
    const Mat frustum = gl_composed([&] { glFrustum(-2 * h, 2 * h, -h, h, 1, 1000); });
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX), frustum));
    gl().render_target = -1;
    hooks.surface_size = saved;
}

TEST_F(SceneFrameTest, BeginResetsEverySwitchOfTheFrame) {
    begin_3d(1, 1000, 45);
    set_cull_mode(1);
    set_fog(0x808080, 0, 0, 0);
    set_light(0, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 120);
    set_sphere_mapping(1);
    set_texture_offset(0.5, 0.25);
    set_camera_up(1, 0, 0);
    set_camera(5, 5, 5, 0, 0, 0);
    translate(1, 1, 1);
    gl().depth_clear_pending = false;

    begin_3d(1, 1000, 45);
    EXPECT_TRUE(gl().depth_clear_pending);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(scene().cull_mode, 0);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_DITHER));
    EXPECT_EQ(gl_integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(gl_integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(gl_integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(scene().lights_mask, 0);
    EXPECT_EQ(scene().sphere_mapping, 0);
    EXPECT_EQ(scene().effect_enabled, 0);
    EXPECT_EQ(scene().texture_offset_u, 0);
    EXPECT_EQ(scene().texture_offset_v, 0);
    EXPECT_EQ(scene().camera_up[0], 0);
    EXPECT_EQ(scene().camera_up[1], 1);
    EXPECT_EQ(scene().camera_eye[2], 0);
    EXPECT_EQ(scene().camera_target[2], -1);
    EXPECT_TRUE(matrices_near(gl_matrix(GL_MODELVIEW_MATRIX), engine3d::identity_matrix()));
    EXPECT_TRUE(matrices_near(scene().view_matrix, engine3d::identity_matrix()));
    EXPECT_EQ(gl_integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(scene().transform_stack.levels[0].translation[0], 0);
    EXPECT_EQ(engine3d::scene_globals().texture_1, -1);
    EXPECT_EQ(engine3d::scene_globals().texture_2, -1);
    EXPECT_EQ(gl_integer(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(SceneFrameTest, FrustumPlanesFollowTheCamera) {
    begin_3d(1, 100, 90);
    set_camera(0, 0, 0, 0, 0, -1);
    // near plane: z = -1 in eye space, so a point at z = -0.5 lies outside it
    const float* near_plane = scene().frustum_planes[4];
    EXPECT_NEAR(near_plane[0] * 0 + near_plane[1] * 0 + near_plane[2] * -0.5f + near_plane[3], -0.5,
                1e-4);
    for (const auto& plane : scene().frustum_planes) {
        EXPECT_NEAR(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2], 1, 1e-5);
        // the point straight ahead inside the box is on the inner side of every plane
        EXPECT_GT(plane[2] * -50 + plane[3], 0);
    }
    // turning the camera round moves that point behind it
    set_camera(0, 0, 0, 0, 0, 1);
    EXPECT_LT(scene().frustum_planes[4][2] * -50 + scene().frustum_planes[4][3], 0);
}

TEST_F(SceneFrameTest, EndRestoresTheTwoDimensionalProjection) {
    const Mat two_d = gl_matrix(GL_PROJECTION_MATRIX);
    begin_3d(1, 1000, 45);
    end_3d();
    EXPECT_TRUE(matrices_near(gl_matrix(GL_PROJECTION_MATRIX), two_d));
    EXPECT_TRUE(matrices_near(gl_matrix(GL_MODELVIEW_MATRIX), engine3d::identity_matrix()));
}

TEST_F(SceneFrameTest, DepthTestSwitch) {
    begin_3d(1, 1000, 45);
    set_depth_test(0);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glDepthFunc(GL_ALWAYS);
    set_depth_test(7);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(gl_integer(GL_DEPTH_FUNC), GL_LESS);
}

TEST_F(SceneFrameTest, ClearDepthBufferClearsOnlyDepth) {
    begin_3d(1, 1000, 45);
    glClearColor(0, 0, 1, 1);
    glClearDepth(0.25);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);
    clear_depth_buffer();
    float depth = 0;
    glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 1);
    EXPECT_EQ(testing::read_pixel(10, 10), 0xFF0000);
}

TEST(SceneFrameWithoutEngine, CommandsDoNothing) {
    begin_3d(1, 1000, 45);
    end_3d();
    clear_depth_buffer();
    set_depth_test(1);
    EXPECT_EQ(engine3d::duderedi_3d(), nullptr);
}

}  // namespace
}  // namespace vexel
