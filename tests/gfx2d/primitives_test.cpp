#include <gtest/gtest.h>

#include <vexel/draw.h>

#include "gfx2d/draw_test_support.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::lit_pixels;
using testing::screen_colour;
using testing::screen_rgba;

constexpr int32_t kKey = 255 + 128 * 65536;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;

class PrimitivesTest : public testing::DrawTest {};

TEST_F(PrimitivesTest, NegativeWidthRectangleFillsTheColumnsBeforeItsStart) {
    draw_rect(10, 10, -3, 2, kGreen);
    for (int32_t y = 6; y < 16; ++y) {
        for (int32_t x = 4; x < 16; ++x) {
            const bool inside = x >= 8 && x <= 10 && y >= 10 && y <= 11;
            EXPECT_EQ(screen_colour(x, y), inside ? kGreen : 0) << x << ", " << y;
        }
    }
}

TEST_F(PrimitivesTest, RectangleOfWidthMinusOneIsOneColumn) {
    draw_rect(20, 20, -1, -1, kGreen);
    EXPECT_EQ(screen_colour(20, 20), kGreen);
    EXPECT_EQ(lit_pixels(16, 16, 8, 8), 1);
}

TEST_F(PrimitivesTest, LineWithEqualEndsSetsExactlyOnePixel) {
    draw_line(30, 40, 30, 40, kGreen);
    EXPECT_EQ(screen_colour(30, 40), kGreen);
    EXPECT_EQ(lit_pixels(25, 35, 10, 10), 1);
}

TEST_F(PrimitivesTest, HorizontalLineSetsBothEnds) {
    draw_line(10, 5, 20, 5, kGreen);
    EXPECT_EQ(lit_pixels(5, 5, 20, 1), 11);
    EXPECT_EQ(screen_colour(10, 5), kGreen);
    EXPECT_EQ(screen_colour(20, 5), kGreen);
    EXPECT_EQ(lit_pixels(5, 4, 20, 1) + lit_pixels(5, 6, 20, 1), 0);
}

TEST_F(PrimitivesTest, SetPixelAndGetPixelRoundTrip) {
    set_pixel(5, 5, 0x123456);
    EXPECT_EQ(get_pixel(5, 5), 0x123456);
    EXPECT_EQ(screen_colour(5, 5), 0x123456);
    EXPECT_EQ(lit_pixels(0, 0, 12, 12), 1);
}

TEST_F(PrimitivesTest, GetPixelOutsideTheScreenIsBlack) {
    set_pixel(0, 0, 0xFFFFFF);
    EXPECT_EQ(get_pixel(-1, 0), 0);
    EXPECT_EQ(get_pixel(640, 0), 0);
    EXPECT_EQ(get_pixel(0, 480), 0);
    EXPECT_EQ(get_pixel(INT32_MIN, INT32_MAX), 0);
    platform::opengl_duderedi()->orientation = 3;
    EXPECT_EQ(get_pixel(INT32_MIN, INT32_MIN), 0);
}

TEST_F(PrimitivesTest, TurnedScreenReadsWhereItDraws) {
    platform::OpenGLDuderedi& gl = *platform::opengl_duderedi();
    gl.orientation = 1;
    gl.set_viewport(0, 0, 0, 0);
    set_pixel(7, 3, 0x00AA00);
    EXPECT_EQ(get_pixel(7, 3), 0x00AA00);
    // Turned by 90 degrees: script (x, y) is window (width - 1 - y, x).
    EXPECT_EQ(screen_colour(639 - 3, 7), 0x00AA00);
}

int32_t framebuffer_alpha_bits() {
    GLint bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &bits);
    return bits;
}

TEST_F(PrimitivesTest, KeyColouredRectangleIsDrawnDespiteTheAlphaTest) {
    draw_rect(0, 0, 4, 4, kBlue);
    ASSERT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 1);
    draw_rect(1, 1, 2, 2, kKey);
    // Its alpha 0 would fail the test: the test was off for it.
    EXPECT_EQ(screen_colour(1, 1), kKey);
    if (framebuffer_alpha_bits() > 0) {
        EXPECT_EQ(screen_rgba(1, 1)[3], 0);
    }
    EXPECT_EQ(screen_colour(0, 0), kBlue);
    // The alpha test is back for what follows.
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 1);
    set_pixel(0, 0, kKey);
    EXPECT_EQ(screen_colour(0, 0), kBlue);
}

TEST_F(PrimitivesTest, KeyColouredPixelHasAlphaZero) {
    // The default alpha test passes alpha above 0.05 only: the key's pixel fails it, a colour
    // one step away does not.
    set_pixel(2, 2, kKey);
    set_pixel(4, 4, kKey + 65536);
    EXPECT_EQ(screen_colour(2, 2), 0);
    EXPECT_EQ(screen_colour(4, 4), kKey + 65536);
}

TEST_F(PrimitivesTest, KeyColouredPixelIsInvisibleWhenBlended) {
    set_alpha_test(1);
    set_alpha_mode(-1);
    set_pixel(3, 3, kKey);
    EXPECT_EQ(screen_colour(3, 3), 0);
    set_alpha_mode(0);
    set_pixel(3, 3, kKey);
    EXPECT_EQ(screen_colour(3, 3), kKey);
}

TEST_F(PrimitivesTest, AlphaOfPrimitivesFollowsTheAlphaMode) {
    set_alpha_mode(-0.5);
    set_alpha_test(1);
    draw_rect(0, 0, 2, 2, 0xFFFFFF);
    const auto rgba = screen_rgba(0, 0);
    EXPECT_NEAR(rgba[0], 127, 2);
    // The current colour is white with the mode's alpha again.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

TEST_F(PrimitivesTest, NothingHappensWithoutAWindow) {
    platform::delete_opengl_duderedi();
    draw_rect(0, 0, 4, 4, kGreen);
    draw_line(0, 0, 4, 4, kGreen);
    set_pixel(1, 1, kGreen);
    EXPECT_EQ(get_pixel(1, 1), 0);
}

}  // namespace
}  // namespace vexel
