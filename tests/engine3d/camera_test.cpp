#include <gtest/gtest.h>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"

namespace vexel {
namespace {

using testing::gl_matrix;
using testing::Mat;
using testing::matrices_near;
using testing::scene;

class CameraTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        begin_3d(1, 1000, 45);
    }
};

TEST_F(CameraTest, SetCameraLoadsTheLookAtMatrix) {
    set_camera_up(0, 0, 1);
    set_camera(10, 0, 0, 0, 0, 0);
    // looking along -X with Z up: world +Z is the eye's up, world +Y its right
    const Mat view = gl_matrix(GL_MODELVIEW_MATRIX);
    EXPECT_TRUE(matrices_near(view, scene().view_matrix));
    const auto up = engine3d::transform(scene().view_matrix, 0, 0, 1, 1);
    EXPECT_NEAR(up[0], 0, 1e-6);
    EXPECT_NEAR(up[1], 1, 1e-6);
    EXPECT_NEAR(up[2], -10, 1e-5);
    const auto side = engine3d::transform(scene().view_matrix, 0, 1, 0, 1);
    EXPECT_NEAR(side[0], 1, 1e-6);
    EXPECT_EQ(scene().camera_eye[0], 10);
    EXPECT_EQ(scene().camera_target[0], 0);
}

TEST_F(CameraTest, GetCameraMatrixGivesSixteenElements) {
    set_camera(1, 2, 3, 4, 5, 6);
    DynArray<double> out;
    get_camera_matrix(out);
    ASSERT_EQ(out.count(), 16);
    EXPECT_EQ(out.dims(), 1);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(out.at(i), scene().view_matrix[static_cast<size_t>(i)]);
}

TEST_F(CameraTest, TheTargetProjectsToTheCentreOfTheViewport) {
    set_camera(3, 4, 10, 1, 1, 1);
    double sx = 0, sy = 0, sz = 0;
    ASSERT_EQ(project_to_screen(1, 1, 1, sx, sy, sz), 1);
    EXPECT_NEAR(sx, 320, 1e-3);
    EXPECT_NEAR(sy, 240, 1e-3);
    EXPECT_GT(sz, 0);
    EXPECT_LT(sz, 1);
}

TEST_F(CameraTest, ScreenYCountsFromTheTop) {
    set_camera(0, 0, 10, 0, 0, 0);
    double sx = 0, sy = 0, sz = 0;
    ASSERT_EQ(project_to_screen(0, 2, 0, sx, sy, sz), 1);
    EXPECT_LT(sy, 240);
    ASSERT_EQ(project_to_screen(2, 0, 0, sx, sy, sz), 1);
    EXPECT_GT(sx, 320);
}

TEST_F(CameraTest, ProjectAndUnprojectRoundTrip) {
    set_camera(30, -20, 45, 2, 3, -4);
    const double points[][3] = {{1, 2, -3}, {-10, 5, 8}, {2, 3, -4}, {20, -10, 30}};
    for (const auto& p : points) {
        double sx = 0, sy = 0, sz = 0;
        ASSERT_EQ(project_to_screen(p[0], p[1], p[2], sx, sy, sz), 1);
        double x = 0, y = 0, z = 0;
        ASSERT_EQ(unproject_from_screen(sx, sy, sz, x, y, z), 1);
        EXPECT_NEAR(x, p[0], 2e-3);
        EXPECT_NEAR(y, p[1], 2e-3);
        EXPECT_NEAR(z, p[2], 2e-3);
    }
}

TEST_F(CameraTest, RoundTripInAnOrthographicFrame) {
    begin_3d(1, 1000, -20);
    set_camera(0, 50, 50, 0, 0, 0);
    double sx = 0, sy = 0, sz = 0;
    ASSERT_EQ(project_to_screen(3, 1, -2, sx, sy, sz), 1);
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(unproject_from_screen(sx, sy, sz, x, y, z), 1);
    EXPECT_NEAR(x, 3, 1e-3);
    EXPECT_NEAR(y, 1, 1e-3);
    EXPECT_NEAR(z, -2, 1e-3);
}

TEST_F(CameraTest, PointInTheEyePlaneDoesNotProject) {
    double sx = 7, sy = 8, sz = 9;
    EXPECT_EQ(project_to_screen(1, 0, 0, sx, sy, sz), 0);
    EXPECT_EQ(sx, 7);
    EXPECT_EQ(sy, 8);
    EXPECT_EQ(sz, 9);
}

TEST_F(CameraTest, SingularCameraDoesNotUnproject) {
    set_camera(1, 1, 1, 1, 1, 1);  // no view direction: the view matrix has no rotation
    double x = 7, y = 8, z = 9;
    EXPECT_EQ(unproject_from_screen(100, 100, 0.5, x, y, z), 0);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(z, 9);
}

TEST(CameraWithoutEngine, ProjectionFails) {
    double a = 1, b = 2, c = 3;
    EXPECT_EQ(project_to_screen(0, 0, -5, a, b, c), 0);
    EXPECT_EQ(unproject_from_screen(0, 0, 0.5, a, b, c), 0);
    EXPECT_EQ(a, 1);
}

}  // namespace
}  // namespace vexel
