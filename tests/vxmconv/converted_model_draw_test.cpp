// Converted models in the engine: loaded head-less with load_object and drawn, against the same
// geometry built with the object commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vexel/dyn_string.h>
#include <vexel/scene3d.h>

#include "engine3d/render_test_support.h"
#include "vxmconv/model_files.h"

namespace vexel {
namespace {

using testing::column_of;
using testing::read_pixel;
using testing::Rect;
using testing::row_of;
using testing::scene;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kYellow = 0x00FFFF;

class ConvertedModelDrawTest : public testing::RenderTest {
protected:
    std::string file(const std::string& name) const { return engine_.temp().file(name); }

    // The slot drawn on a cleared frame, read back every eighth pixel.
    std::vector<int32_t> drawn(int32_t slot) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_object(slot, 0);
        std::vector<int32_t> pixels;
        for (int32_t y = 0; y < 480; y += 8) {
            for (int32_t x = 0; x < 640; x += 8)
                pixels.push_back(read_pixel(x, y));
        }
        return pixels;
    }
};

TEST_F(ConvertedModelDrawTest, DrawsLikeTheSameQuadsBuiltWithObjectCommands) {
    testing::write_two_material_obj(engine_.temp(), "floor");
    ASSERT_EQ(testing::convert_here({file("floor.obj"), file("floor.vxm")}).status, 0);
    ASSERT_EQ(load_object(DynString(file("floor.vxm").c_str()), 1), 1);
    object_start(2);
    testing::add_quad(Rect{-1, -1, 0, 1}, 0, kRed);
    testing::add_quad(Rect{0, -1, 1, 1}, 0, kGreen);
    object_end();
    EXPECT_EQ(count_faces(1), count_faces(2));

    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, -1, 180);  // shining down the view onto the fronts
    set_cull_mode(1);                                // the engine's clockwise fronts only
    const std::vector<int32_t> converted = drawn(1);
    EXPECT_EQ(converted, drawn(2));
    EXPECT_GE(testing::red_of(read_pixel(column_of(-0.5f), 240)), 200);
    EXPECT_GE(testing::green_of(read_pixel(column_of(0.5f), 240)), 200);

    set_cull_mode(-1);  // counter-clockwise fronts: the converted quads turn their backs
    drawn(1);
    EXPECT_EQ(read_pixel(column_of(-0.5f), 240), 0);
    EXPECT_EQ(read_pixel(column_of(0.5f), 240), 0);
}

TEST_F(ConvertedModelDrawTest, MultiMeshDescriptionDrawsEachQuadWithItsPicture) {
    // Left: blue on the left half, yellow on the right; right: blue on top, yellow below.
    testing::write_file(file("across.png"), testing::halves_png(kBlue, kYellow));
    testing::write_file(file("down.png"), testing::halves_png(kBlue, kYellow, false));
    testing::write_two_material_obj(engine_.temp(), "floor", "across.png", "down.png", "1 1 1",
                                    "1 1 1");
    const testing::ToolRun run =
        testing::convert_here({"--multi", file("floor.obj"), file("floor.vxm")});
    ASSERT_EQ(run.status, 0) << run.messages;
    ASSERT_EQ(load_object(DynString(file("floor.vxm").c_str()), 1), 1);
    ASSERT_EQ(scene().objects[1].multi_mesh, 1);
    ASSERT_EQ(scene().objects[1].meshes.size(), 2u);

    drawn(1);
    EXPECT_EQ(read_pixel(column_of(-0.75f), 240), kBlue);
    EXPECT_EQ(read_pixel(column_of(-0.25f), 240), kYellow);
    EXPECT_EQ(read_pixel(column_of(0.5f), row_of(0.5f)), kBlue);
    EXPECT_EQ(read_pixel(column_of(0.5f), row_of(-0.5f)), kYellow);
}

}  // namespace
}  // namespace vexel
