#include "engine3d/matrix4.h"

#include <gtest/gtest.h>

#include "engine3d/scene_test_support.h"

namespace vexel::engine3d {
namespace {

using testing::gl_composed;
using testing::matrices_near;

class GlMatrixTest : public testing::SceneTest {};

TEST_F(GlMatrixTest, GeneralRotationsMatchGlRotatef) {
    for (const auto& axis : {std::array<float, 3>{1, 2, 3}, {-0.3f, 0.5f, 0.1f}, {0, 1, 1}}) {
        Matrix4 mine;
        ASSERT_TRUE(rotation_matrix(37, axis[0], axis[1], axis[2], mine));
        EXPECT_TRUE(
            matrices_near(mine, gl_composed([&] { glRotatef(37, axis[0], axis[1], axis[2]); })));
    }
}

TEST_F(GlMatrixTest, SingleAxisRotationsMatchGlRotatefForBothSigns) {
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {1.0f, -1.0f}) {
            float v[3] = {0, 0, 0};
            v[axis] = 2.5f * sign;
            Matrix4 mine;
            ASSERT_TRUE(rotation_matrix(-120, v[0], v[1], v[2], mine));
            EXPECT_TRUE(
                matrices_near(mine, gl_composed([&] { glRotatef(-120, v[0], v[1], v[2]); })));
        }
    }
}

TEST_F(GlMatrixTest, FrustumAndOrthoMatchOpenGL) {
    EXPECT_TRUE(matrices_near(frustum_matrix(-2, 3, -1, 1.5f, 1, 100),
                              gl_composed([] { glFrustum(-2, 3, -1, 1.5, 1, 100); })));
    EXPECT_TRUE(matrices_near(ortho_matrix(-2, 3, -1, 1.5f, 1, 100),
                              gl_composed([] { glOrtho(-2, 3, -1, 1.5, 1, 100); })));
}

TEST(Matrix4, SingleAxisRotationIsExact) {
    Matrix4 m;
    ASSERT_TRUE(rotation_matrix(90, 0, 0, 1, m));
    // (1, 0, 0) turns onto (0, 1, 0); cos 90 in float is not 0, but the layout is exact.
    EXPECT_FLOAT_EQ(m[1], 1);
    EXPECT_FLOAT_EQ(m[4], -1);
    EXPECT_EQ(m[2], 0);
    EXPECT_EQ(m[8], 0);
    EXPECT_EQ(m[10], 1);
    ASSERT_TRUE(rotation_matrix(90, 0, 0, -7, m));
    EXPECT_FLOAT_EQ(m[1], -1);
}

TEST(Matrix4, TinyGeneralAxisIsSkipped) {
    Matrix4 m = identity_matrix();
    m[3] = 42;
    EXPECT_FALSE(rotation_matrix(30, 0.00003f, 0.00003f, 0.00003f, m));
    EXPECT_EQ(m[3], 42);
    EXPECT_FALSE(rotation_matrix(30, 0, 0, 0, m));
}

TEST(Matrix4, InverseTimesMatrixIsIdentity) {
    Matrix4 m = multiply(frustum_matrix(-1.3f, 1.3f, -1, 1, 1, 1000),
                         multiply(translation_matrix(3, -4, 5), scale_matrix(2, 3, 0.5f)));
    Matrix4 r;
    ASSERT_TRUE(rotation_matrix(33, 1, 1, 0, r));
    m = multiply(m, r);
    Matrix4 inverse;
    ASSERT_TRUE(invert(m, inverse));
    EXPECT_TRUE(matrices_near(multiply(m, inverse), identity_matrix(), 1e-4f));
    EXPECT_TRUE(matrices_near(multiply(inverse, m), identity_matrix(), 1e-4f));
}

TEST(Matrix4, SingularMatrixIsNotInverted) {
    Matrix4 flat = scale_matrix(1, 0, 1);
    Matrix4 out = identity_matrix();
    out[7] = 9;
    EXPECT_FALSE(invert(flat, out));
    EXPECT_EQ(out[7], 9);
    Matrix4 zero{};
    EXPECT_FALSE(invert(zero, out));
}

TEST(Matrix4, LookAtMatchesTheGluLayout) {
    const float eye[3] = {0, 0, 5};
    const float target[3] = {0, 0, 0};
    const float up[3] = {0, 1, 0};
    EXPECT_TRUE(matrices_near(look_at_matrix(eye, target, up), translation_matrix(0, 0, -5)));
    // Looking along +X from the origin: the eye's -Z is world +X.
    const float origin[3] = {0, 0, 0};
    const float along_x[3] = {10, 0, 0};
    const Matrix4 m = look_at_matrix(origin, along_x, up);
    const auto seen = transform(m, 10, 0, 0, 1);
    EXPECT_NEAR(seen[0], 0, 1e-6);
    EXPECT_NEAR(seen[1], 0, 1e-6);
    EXPECT_NEAR(seen[2], -10, 1e-5);
}

TEST(Matrix4, LookAtWithUpAlongTheViewKeepsZeroVectors) {
    const float eye[3] = {0, 0, 0};
    const float target[3] = {0, 5, 0};
    const float up[3] = {0, 1, 0};
    const Matrix4 m = look_at_matrix(eye, target, up);
    for (float value : m)
        EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(m[0], 0);  // x = up × z has length 0 and stays as it is
}

}  // namespace
}  // namespace vexel::engine3d
