#include <gtest/gtest.h>

#include <vector>

#include <vexel/collision.h>

#include "engine3d/collision_test_support.h"
#include "engine3d/duderedi_3d.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::slot_with;
using testing::triangle_mesh;

// The engine running with an object table of its own for the commands to search, the current
// transform level untouched (the identity).
class CollisionCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.has_window());
        // Records 0-2: a triangle in the plane z = 0 with the first vertex at the origin;
        // records 3-5: one in the plane z = -5 around the Z axis.
        objects()[7] = slot_with(triangle_mesh(
            {{{{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}}, {{{-1, -1, -5}, {1, -1, -5}, {0, 1, -5}}}}));
    }

    testing::HeadlessEngine engine_;
    std::vector<ObjectSlot>& objects() { return engine3d::duderedi_3d()->objects; }
};

TEST_F(CollisionCommandsTest, SphereHitsSetTheLastFace) {
    EXPECT_EQ(collide_sphere(7, 0, 0.5, 0, 0.2, -5.3), 1);
    EXPECT_EQ(last_hit_face(), 1);
    EXPECT_EQ(collide_sphere(7, 0, 0.5, 1, 1, 0.4), 1);
    EXPECT_EQ(last_hit_face(), 0);
    EXPECT_EQ(collide_sphere(7, 0, 0.5, 0, 0.2, -5.3), 1);
    EXPECT_EQ(collide_sphere(7, 0, 0.5, 30, 30, 30), 0);
    EXPECT_EQ(last_hit_face(), 0);  // -1 / 3
}

TEST_F(CollisionCommandsTest, QuickAcceptanceReportsFaceZero) {
    ASSERT_EQ(collide_sphere(7, 0, 0.5, 0, 0.2, -5.3), 1);
    ASSERT_EQ(last_hit_face(), 1);
    // The sphere holds the first vertex: a hit, but no triangle is named.
    EXPECT_EQ(collide_sphere(7, 0, 0.5, 0.1, 0.1, 0.1), 1);
    EXPECT_EQ(last_hit_face(), 0);
}

TEST_F(CollisionCommandsTest, BoxHitsSetTheLastFace) {
    EXPECT_EQ(collide_box(7, 0, 0, 0, -5, 0.5, 0.5, 0.5), 1);
    EXPECT_EQ(last_hit_face(), 1);
    EXPECT_EQ(collide_box(7, 0, 0, 0, -2.5, 1, 1, 1), 0);
    EXPECT_EQ(collide_box(7, 0, 0, 0, -2.5, 1, 1, 5.01), 1);
}

TEST_F(CollisionCommandsTest, RayDistanceInFrontBehindAndAtTheStart) {
    EXPECT_DOUBLE_EQ(ray_distance(7, 0, 0.5, -0.5, 5, 0, 0, -3), 10);
    EXPECT_EQ(last_hit_face(), 1);
    EXPECT_DOUBLE_EQ(ray_distance(7, 0, 0.5, 0.5, -9, 0, 0, -1), -9);
    EXPECT_EQ(last_hit_face(), 0);
    EXPECT_DOUBLE_EQ(ray_distance(7, 0, 0.5, -0.5, -5, 0, 0, -1), 0);
    EXPECT_DOUBLE_EQ(ray_distance(7, 0, 20, 0, 0, 0, 0, -1), 0);
}

TEST_F(CollisionCommandsTest, SphereHitsBoxAtTheLevelOrigin) {
    EXPECT_EQ(sphere_hits_box(1.5, 0, 0, 0.5, 2, 2, 2), 1);
    EXPECT_EQ(sphere_hits_box(1.5, 0, 0, 0.49, 2, 2, 2), 0);
}

TEST_F(CollisionCommandsTest, NumbersOutsideTheTableAndEmptySlotsGiveNothing) {
    ASSERT_EQ(collide_sphere(7, 0, 0.5, 0, 0.2, -5.3), 1);
    for (int32_t num : {-1, 4096, 1 << 30}) {
        EXPECT_EQ(collide_sphere(num, 0, 100, 0, 0, 0), 0);
        EXPECT_EQ(collide_box(num, 0, 0, 0, 0, 100, 100, 100), 0);
        EXPECT_EQ(ray_distance(num, 0, 0, 0, 5, 0, 0, -1), 0);
    }
    EXPECT_EQ(last_hit_face(), 1);  // untouched by ignored numbers

    EXPECT_EQ(collide_sphere(8, 0, 100, 0, 0, 0), 0);
    EXPECT_EQ(collide_box(8, 0, 0, 0, 0, 100, 100, 100), 0);
    EXPECT_EQ(ray_distance(8, 0, 0, 0, 5, 0, 0, -1), 0);
    EXPECT_EQ(collide_sphere(7, 1, 100, 0, 0, 0), 0);
    EXPECT_EQ(collide_sphere(7, -1, 100, 0, 0, 0), 0);
    EXPECT_EQ(last_hit_face(), 0);
}

TEST(CollisionCommandsWithoutTableTest, EveryNumberIsOutsideTheTable) {
    ASSERT_EQ(engine3d::duderedi_3d(), nullptr);
    EXPECT_EQ(collide_sphere(0, 0, 100, 0, 0, 0), 0);
    EXPECT_EQ(collide_box(0, 0, 0, 0, 0, 100, 100, 100), 0);
    EXPECT_EQ(ray_distance(0, 0, 0, 0, 5, 0, 0, -1), 0);
    EXPECT_EQ(last_hit_face(), 0);
}

}  // namespace
}  // namespace vexel
