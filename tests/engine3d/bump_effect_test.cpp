#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vexel/scene3d.h>

#include "engine3d/render_test_support.h"

namespace vexel {
namespace {

using testing::read_pixel;
using testing::Rect;
using testing::scene;

class BumpEffectTest : public testing::RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        testing::build_quad(1, Rect{-2, -2, 2, 2}, 0, 0xFFFFFF);
        ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0xFFFFFF, 0xFFFFFF), false));
    }
    // A normal map of one direction, (x, y, z) each in -1 ... 1.
    void normal_map(float x, float y, float z) {
        const auto byte = [](float c) { return static_cast<int32_t>((c * 0.5f + 0.5f) * 255); };
        const int32_t colour = byte(x) | byte(y) << 8 | byte(z) << 16;
        ASSERT_TRUE(create_sprite(21, testing::halves_picture(16, 16, colour, colour), false));
    }
    // Bump mapped with the light at (x, y, z); the brightness of the middle.
    int32_t lit_from(float x, float y, float z) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        set_textures(20, 21);
        set_light(-1, 0, x, y, z, 0, 0, 0, 1);
        draw_object(1, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return testing::green_of(read_pixel(320, 240));
    }
};

TEST_F(BumpEffectTest, FlatNormalMapFollowsTheLightAngle) {
    normal_map(0, 0, 1);
    const int32_t facing = lit_from(0, 0, 10);
    const int32_t slanted = lit_from(10, 0, 10);
    const int32_t grazing = lit_from(10, 0, 0.2f);
    EXPECT_GE(facing, 245);
    EXPECT_NEAR(slanted, 180, 12);  // cos 45 degrees
    EXPECT_LE(grazing, 20);
    EXPECT_EQ(scene().objects[1].meshes[0].tangents_valid, 1);
}

TEST_F(BumpEffectTest, TiltedNormalMapIsLitFromItsSide) {
    normal_map(1, 0, 0);
    const int32_t from_right = lit_from(10, 0, 0.2f);
    const int32_t from_left = lit_from(-10, 0, 0.2f);
    EXPECT_GE(std::max(from_right, from_left), 230);
    EXPECT_LE(std::min(from_right, from_left), 20);
    EXPECT_LE(lit_from(0, 0, 10), 20);
}

TEST_F(BumpEffectTest, BaseTextureModulatesOnTheSecondUnit) {
    normal_map(0, 0, 1);
    ASSERT_TRUE(create_sprite(20, testing::halves_picture(16, 16, 0x000000, 0x0000FF), false));
    set_textures(20, 21);
    set_light(-1, 0, 0, 0, 10, 0, 0, 0, 1);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(testing::column_of(-1), 240), 0);
    const int32_t right = read_pixel(testing::column_of(1), 240);
    EXPECT_GE(testing::red_of(right), 240);
    EXPECT_EQ(testing::green_of(right), 0);
    // The combiner is back to modulating for later draws.
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
}

TEST_F(BumpEffectTest, EffectOffDrawsPlainAgain) {
    normal_map(1, 0, 0);
    lit_from(0, 0, 10);
    set_light(-1, 0, 0, 0, 10, 0, 0, 0, 0);
    set_textures(20, -1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_object(1, 0);
    EXPECT_EQ(read_pixel(320, 240), 0xFFFFFF);
}

}  // namespace
}  // namespace vexel
