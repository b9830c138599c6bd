#include "engine3d/duderedi_3d.h"

#include <gtest/gtest.h>

#include <vexel/frame.h>
#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::scene;

class Duderedi3DTest : public testing::SceneTest {};

TEST_F(Duderedi3DTest, StartUpMakesTheStateBesideTheWindow) {
    EXPECT_EQ(scene().gl_context, platform::opengl_duderedi());
    EXPECT_EQ(scene().objects.size(), 4096u);
    EXPECT_EQ(scene().auto_normals, 2);
    EXPECT_EQ(scene().transform_stack.depth, 0);
    EXPECT_TRUE(scene().cel_levels.empty());  // the default ramp is filled in when first used
    EXPECT_NE(scene().object(4095), nullptr);
    EXPECT_EQ(scene().object(4096), nullptr);
    EXPECT_EQ(scene().object(-1), nullptr);
    EXPECT_EQ(engine3d::scene_globals().building_slot, -1);
    EXPECT_EQ(engine3d::scene_globals().texture_1, -1);
}

TEST_F(Duderedi3DTest, PresentClosesTheShadowPassAndDropsTheMipmappedVariant) {
    begin_3d(1, 1000, 45);
    testing::drawing([] { set_light(-3, 0, 0, 10, 0, 0, 0, 0, 1); });
    set_texture_mipmapping(1);
    testing::drawing([] { show_screen(); });
    EXPECT_EQ(scene().shadow_pass, 0);
    EXPECT_EQ(engine3d::scene_globals().texture_mipmapping, 0);
}

TEST(Duderedi3DLifecycle, ShutdownDeletesTheState) {
    {
        testing::HeadlessEngine engine;
        ASSERT_NE(engine3d::duderedi_3d(), nullptr);
        object_start(3);
        object_add_vertex(0, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(engine3d::duderedi_3d(), nullptr);
    EXPECT_EQ(find_free_object(), -1);  // no table without the state
    object_add_vertex(1, 1, 1, 0, 0, 0);
}

}  // namespace
}  // namespace vexel
