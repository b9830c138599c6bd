#include "engine3d/collision_space.h"

#include <gtest/gtest.h>

#include "engine3d/collision_test_support.h"

namespace vexel::engine3d {
namespace {

using testing::multiply;
using testing::rotation_y90;
using testing::rotation_z;
using testing::scaling;
using testing::translation;

void expect_point(const Vec3f& got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-5f);
    EXPECT_NEAR(got.y, y, 1e-5f);
    EXPECT_NEAR(got.z, z, 1e-5f);
}

TEST(ObjectSpaceTest, IdentityLeavesPointsAlone) {
    expect_point(ObjectSpace(testing::identity_matrix().data()).point({1, -2, 3}), 1, -2, 3);
}

TEST(ObjectSpaceTest, TranslationAndRotationAreUndone) {
    // Object point (0, 0, -5) is drawn at world (-5, 0, -10).
    const auto m = multiply(translation(0, 0, -10), rotation_y90());
    expect_point(ObjectSpace(m.data()).point({-5, 0, -10}), 0, 0, -5);
    const auto turned = multiply(translation(10, 0, 0), rotation_z(90));
    expect_point(ObjectSpace(turned.data()).point({10, 2.5f, 0}), 2.5f, 0, 0);
}

TEST(ObjectSpaceTest, ScaleIsNeitherUndoneNorApplied) {
    expect_point(ObjectSpace(scaling(2, 3, 4).data()).point({1.5f, 1, -1}), 1.5f, 1, -1);
    // Scaled, turned and moved: only the turn and the move come off.
    const auto m = multiply(multiply(translation(1, 2, 3), rotation_z(90)), scaling(5, 5, 5));
    expect_point(ObjectSpace(m.data()).point({1, 4, 3}), 2, 0, 0);
}

TEST(ObjectSpaceTest, ColumnSquashedToNothingDoesNotDivideByZero) {
    const Vec3f p = ObjectSpace(scaling(0, 1, 1).data()).point({3, 4, 5});
    expect_point(p, 0, 4, 5);
}

}  // namespace
}  // namespace vexel::engine3d
