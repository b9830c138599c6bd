#include "engine3d/frustum.h"

#include <gtest/gtest.h>

namespace vexel::engine3d {
namespace {

// The box -1 ... 1 on every axis as six inward planes.
constexpr float kUnitBox[6][4] = {{1, 0, 0, 1},  {-1, 0, 0, 1}, {0, 1, 0, 1},
                                  {0, -1, 0, 1}, {0, 0, 1, 1},  {0, 0, -1, 1}};

TEST(FrustumTest, IdentityKeepsTheRadius) {
    EXPECT_EQ(largest_axis_scale(identity_matrix()), 1);
    EXPECT_EQ(largest_axis_scale(translation_matrix(5, 6, 7)), 1);
}

TEST(FrustumTest, LargestColumnLengthScalesTheRadius) {
    EXPECT_FLOAT_EQ(largest_axis_scale(scale_matrix(2, 3, 0.5f)), 3);
    Matrix4 turned;
    ASSERT_TRUE(rotation_matrix(30, 0, 0, 1, turned));
    EXPECT_NEAR(largest_axis_scale(multiply(turned, scale_matrix(1, 4, 1))), 4, 1e-5);
}

TEST(FrustumTest, SphereIsCarriedByTheMatrix) {
    const Sphere s = transformed_sphere(
        multiply(translation_matrix(1, 2, 3), scale_matrix(2, 2, 2)), Vec3f{1, 0, 0}, 0.5f);
    EXPECT_FLOAT_EQ(s.centre.x, 3);
    EXPECT_FLOAT_EQ(s.centre.y, 2);
    EXPECT_FLOAT_EQ(s.centre.z, 3);
    EXPECT_FLOAT_EQ(s.radius, 1);
}

TEST(FrustumTest, VisibleUnlessWhollyOutsideOnePlane) {
    EXPECT_TRUE(sphere_visible(kUnitBox, Sphere{Vec3f{0, 0, 0}, 0.1f}));
    EXPECT_TRUE(sphere_visible(kUnitBox, Sphere{Vec3f{1.5f, 0, 0}, 0.6f}));
    EXPECT_TRUE(sphere_visible(kUnitBox, Sphere{Vec3f{1.5f, 0, 0}, 0.5f}));  // touching
    EXPECT_FALSE(sphere_visible(kUnitBox, Sphere{Vec3f{1.5f, 0, 0}, 0.4f}));
    EXPECT_FALSE(sphere_visible(kUnitBox, Sphere{Vec3f{0, 0, -3}, 1.9f}));
}

}  // namespace
}  // namespace vexel::engine3d
