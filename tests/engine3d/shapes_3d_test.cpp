#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"
#include "engine3d/text_hook.h"
#include "gfx2d/gl_test_support.h"
#include "gfx2d/sprite_operations.h"
#include "image/image_buffer.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::gl_integer;
using testing::gl_matrix;
using testing::Mat;
using testing::read_pixel;

class Shapes3dTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        begin_3d(1, 1000, 45);
        set_camera(0, 0, 10, 0, 0, 0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override { free_all_sprites(); }
};

TEST_F(Shapes3dTest, LineInItsColourWithLightingKeptOutAndRestored) {
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
    platform::opengl_duderedi()->global_alpha = 0.5f;
    testing::drawing([&] { draw_line_3d(-3, 0, 0, 3, 0, 0, 5, 0x00FF00); });
    EXPECT_EQ(read_pixel(320, 240), 0x00FF00);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    float width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

TEST_F(Shapes3dTest, LineWidthIsClampedToAtLeastOne) {
    testing::drawing([&] { draw_line_3d(-3, 0, 0, 3, 0, 0, -20, 0xFFFFFF); });
    EXPECT_EQ(read_pixel(320, 240) & 0xFF, 0xFF);
    testing::drawing([&] { draw_line_3d(0, -3, 0, 0, 3, 0, std::nan(""), 0x00FF00); });
    EXPECT_EQ(read_pixel(320, 200), 0x00FF00);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shapes3dTest, DotOfTheGivenSize) {
    testing::drawing([&] { draw_dot_3d(0, 0, 0, 9, 0x0000FF); });
    EXPECT_EQ(read_pixel(320, 240), 0x0000FF);
    EXPECT_EQ(read_pixel(320 + 3, 240), 0x0000FF);
    EXPECT_EQ(read_pixel(320 + 8, 240), 0);
    float size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1);
}

TEST_F(Shapes3dTest, AxesIgnoreTheTransformStackAndColourEachAxis) {
    set_camera(0, 0, 100, 0, 0, 0);
    translate(500, 500, 0);  // must not move the axes
    const Mat before = gl_matrix(GL_MODELVIEW_MATRIX);
    testing::drawing([&] { draw_axes(0, 0, 0); });
    EXPECT_TRUE(testing::matrices_near(gl_matrix(GL_MODELVIEW_MATRIX), before));
    // 20 units at distance 100 with fov 45 are about 116 pixels; the blue axis points at the
    // camera and its head covers only the middle
    EXPECT_EQ(read_pixel(320 + 70, 240), 0x0000FF);
    EXPECT_EQ(read_pixel(320, 240 + 70), 0x00FF00);
    EXPECT_EQ(read_pixel(320 + 10, 240), 0xFF0000);  // blue drawn last, over the red shaft
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(Shapes3dTest, SpriteFacesTheCameraAndTheCullModeComesBack) {
    ImageBuffer red;
    red.size_for(16, 16);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            uint8_t* p = red.pixel(x, y);
            p[0] = 255;
            p[1] = y < 8 ? 255 : 0;  // top half yellow
            p[2] = 0;
            p[3] = 255;
        }
    ASSERT_TRUE(create_sprite(3, red, false));
    platform::opengl_duderedi()->smoothing = false;
    set_cull_mode(1);
    set_camera(0, 10, 0, 0, 0, 0.001);  // looking down: the billboard still faces us
    testing::drawing([&] { draw_sprite_3d(3, 0, 0, 0, 0.25); });
    EXPECT_EQ(read_pixel(320, 240 + 20), 0x00FFFF);  // top: yellow
    EXPECT_EQ(read_pixel(320, 240 - 20), 0x0000FF);  // bottom: red
    EXPECT_EQ(engine3d::duderedi_3d()->cull_mode, 1);
    EXPECT_EQ(gl_integer(GL_FRONT_FACE), GL_CW);
}

TEST_F(Shapes3dTest, NegativeOrEmptySpriteDrawsNothing) {
    testing::drawing([&] { draw_sprite_3d(-1, 0, 0, 0, 1); });
    testing::drawing([&] { draw_sprite_3d(40, 0, 0, 0, 1); });
    EXPECT_EQ(read_pixel(320, 240), 0);
}

std::string g_printed;
Mat g_print_matrix{};

void record_print(const DynString& text, double x, double y, int32_t) {
    g_printed = text.c_str();
    g_print_matrix = gl_matrix(GL_MODELVIEW_MATRIX);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(Shapes3dTest, PrintPlacesTheTextAtThePointScaledAndFacingTheCamera) {
    engine3d::set_print_text_hook(record_print);
    const GLint depth = gl_integer(GL_MODELVIEW_STACK_DEPTH);
    print_3d(DynString("hello"), 1, 2, 3, 0.5);
    engine3d::set_print_text_hook(nullptr);
    EXPECT_EQ(g_printed, "hello");
    // camera at z = 10: the point (1, 2, 3) lies at (1, 2, -7) in the eye, text y downwards
    const Mat expected = {0.5f, 0, 0, 0, 0, -0.5f, 0, 0, 0, 0, 0.5f, 0, 1, 2, -7, 1};
    EXPECT_TRUE(testing::matrices_near(g_print_matrix, expected));
    EXPECT_EQ(gl_integer(GL_MODELVIEW_STACK_DEPTH), depth);
}

TEST_F(Shapes3dTest, PrintKeepsTheStack) {
    const GLint depth = gl_integer(GL_MODELVIEW_STACK_DEPTH);
    testing::drawing([] { print_3d(DynString("x"), 0, 0, 0, 1); });
    EXPECT_EQ(gl_integer(GL_MODELVIEW_STACK_DEPTH), depth);
}

}  // namespace
}  // namespace vexel
