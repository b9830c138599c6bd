#include <gtest/gtest.h>

#include <vexel/collision.h>
#include <vexel/scene3d.h>

#include "support/headless_engine.h"

namespace vexel {
namespace {

// A unit square in the z = 0 plane built with the object commands, so the collision commands
// must find the 3D state's own object table.
void build_square(int32_t num) {
    object_start(num);
    object_add_vertex(0, 0, 0, 0, 0, 16777215);
    object_add_vertex(1, 0, 0, 0, 0, 16777215);
    object_add_vertex(0, 1, 0, 0, 0, 16777215);
    object_add_vertex(1, 1, 0, 0, 0, 16777215);
    object_new_group();
    object_end();
}

TEST(CollisionWiring, CommandsSeeObjectsBuiltByTheScene) {
    testing::HeadlessEngine engine;
    build_square(7);
    EXPECT_EQ(collide_sphere(7, 0, 0.2, 0.6, 0.6, 0.1), 1);
    EXPECT_EQ(collide_sphere(7, 0, 0.2, 0.6, 0.6, 0.5), 0);
    EXPECT_NEAR(ray_distance(7, 0, 0.5, 0.5, 2, 0, 0, -1), 2.0, 1e-6);
    EXPECT_EQ(collide_sphere(8, 0, 5, 0, 0, 0), 0);  // an empty slot
}

}  // namespace
}  // namespace vexel
