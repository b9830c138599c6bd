#include <gtest/gtest.h>

#include <vexel/sprites.h>
#include <vexel/window.h>

#include "gfx2d/gl_test_support.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_context.h"
#include "platform/opengl_duderedi.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::fill_window;

// The sprite's pixel (x, y) as R + G*256 + B*65536, and its alpha.
int32_t colour_at(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return p[0] | p[1] << 8 | p[2] << 16;
}

class ScreenGrabTest : public ::testing::Test {
protected:
    ImageBuffer grabbed(int32_t slot) {
        ImageBuffer picture;
        EXPECT_TRUE(read_sprite_pixels(slot, picture));
        return picture;
    }
    SpriteSlot& slot(int32_t n) { return *texture_store().slot(n); }

    testing::HeadlessEngine engine_;
};

TEST_F(ScreenGrabTest, CopiesTheRectangleUpright) {
    fill_window(0, 0, 640, 480, 0x102030);
    fill_window(10, 20, 15, 5, 0x0000FF);  // red band at the top of the rectangle
    fill_window(10, 25, 15, 10, 0x00FF00);
    fill_window(25, 20, 15, 15, 0xFF0000);
    grab_sprite(6, 10, 20, 30, 15);
    EXPECT_EQ(slot(6).width, 30);
    EXPECT_EQ(slot(6).height, 15);
    EXPECT_EQ(slot(6).texture_width, 32);
    EXPECT_EQ(slot(6).texture_height, 16);
    EXPECT_FLOAT_EQ(slot(6).u_extent, 30.0f / 32);
    EXPECT_FLOAT_EQ(slot(6).v_extent, 15.0f / 16);
    const ImageBuffer picture = grabbed(6);
    EXPECT_EQ(colour_at(picture, 0, 0), 0x0000FF);
    EXPECT_EQ(colour_at(picture, 14, 4), 0x0000FF);
    EXPECT_EQ(colour_at(picture, 0, 5), 0x00FF00);
    EXPECT_EQ(colour_at(picture, 14, 14), 0x00FF00);
    EXPECT_EQ(colour_at(picture, 15, 0), 0xFF0000);
    EXPECT_EQ(colour_at(picture, 29, 14), 0xFF0000);
    EXPECT_EQ(picture.pixel(3, 3)[3], 255);
}

TEST_F(ScreenGrabTest, KeyColouredPixelsBecomeTransparent) {
    fill_window(0, 0, 640, 480, 0x000000);
    fill_window(0, 0, 2, 1, 0x8000FF);  // the default key, R 255 G 0 B 128
    grab_sprite(1, 0, 0, 4, 2);
    ImageBuffer picture = grabbed(1);
    EXPECT_EQ(picture.pixel(0, 0)[3], 0);
    EXPECT_EQ(picture.pixel(1, 0)[3], 0);
    EXPECT_EQ(picture.pixel(2, 0)[3], 255);
    EXPECT_EQ(picture.pixel(0, 1)[3], 255);  // black is not the key

    set_colour_key(0);
    grab_sprite(1, 0, 0, 4, 2);
    picture = grabbed(1);
    EXPECT_EQ(picture.pixel(0, 0)[3], 255);
    EXPECT_EQ(picture.pixel(0, 1)[3], 0);

    set_colour_key(-1);
    grab_sprite(1, 0, 0, 4, 2);
    picture = grabbed(1);
    for (int32_t x = 0; x < 4; ++x)
        EXPECT_EQ(picture.pixel(x, 1)[3], 255) << x;
}

TEST_F(ScreenGrabTest, EmptyRectangleEmptiesTheSlot) {
    grab_sprite(2, 0, 0, 8, 8);
    ASSERT_EQ(slot(2).width, 8);
    grab_sprite(2, 5, 5, 0, 9);
    EXPECT_EQ(slot(2).width, 0);
    EXPECT_EQ(slot(2).texture, 0u);
    grab_sprite(2, 0, 0, 8, 8);
    grab_sprite(2, 5, 5, 9, -1);
    EXPECT_EQ(slot(2).width, 0);
    grab_sprite(-1, 0, 0, 8, 8);
    grab_sprite(kSpriteSlotCount, 0, 0, 8, 8);
}

TEST_F(ScreenGrabTest, SameSizeReusesTheTextureAndClearsTheFrameSize) {
    grab_sprite(3, 0, 0, 20, 20);
    const uint32_t first = slot(3).texture;
    slot(3).frame_width = 4;
    slot(3).frame_height = 4;
    texture_store().alpha_mask(3).assign(400, 1);
    grab_sprite(3, 30, 30, 17, 31);  // still 32 x 32
    EXPECT_EQ(slot(3).texture, first);
    EXPECT_EQ(slot(3).width, 17);
    EXPECT_EQ(slot(3).frame_width, 0);
    EXPECT_EQ(slot(3).frame_height, 0);
    EXPECT_TRUE(texture_store().alpha_mask(3).empty());
    grab_sprite(3, 0, 0, 40, 20);  // 64 x 32: a new texture
    EXPECT_EQ(slot(3).texture_width, 64);
    EXPECT_EQ(testing::texture_level(slot(3).texture, 0).width(), 64);
}

// A pixel the script draws at (sx, sy) on a turned screen shows up in the grabbed sprite at the
// same place relative to the grabbed rectangle.
TEST_F(ScreenGrabTest, TurnedScreensAreGrabbedAsTheScriptSeesThem) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    testing::suspend_leak_checks();  // the driver keeps the code it builds for drawing
    for (int32_t orientation = 0; orientation < 4; ++orientation) {
        SCOPED_TRACE(orientation);
        gl->orientation = orientation;
        set_viewport(0, 0, 0, 0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        const int32_t points[3][3] = {{12, 7, 0x0000FF}, {30, 7, 0x00FF00}, {12, 40, 0xFF0000}};
        for (const auto& point : points) {
            glColor4ub(point[2] & 255, point[2] >> 8 & 255, point[2] >> 16 & 255, 255);
            glBegin(GL_QUADS);
            glVertex2f(point[0], point[1]);
            glVertex2f(point[0] + 1, point[1]);
            glVertex2f(point[0] + 1, point[1] + 1);
            glVertex2f(point[0], point[1] + 1);
            glEnd();
        }
        glColor4f(1, 1, 1, 1);
        grab_sprite(8, 10, 5, 25, 40);
        const ImageBuffer picture = grabbed(8);
        ASSERT_EQ(picture.width(), 25);
        ASSERT_EQ(picture.height(), 40);
        EXPECT_EQ(colour_at(picture, 2, 2), 0x0000FF);
        EXPECT_EQ(colour_at(picture, 20, 2), 0x00FF00);
        EXPECT_EQ(colour_at(picture, 2, 35), 0xFF0000);
        EXPECT_EQ(colour_at(picture, 3, 2), 0);
        EXPECT_EQ(colour_at(picture, 2, 3), 0);
    }
    testing::resume_leak_checks();
}

// With alpha in the framebuffer (here an offscreen one) an unturned rectangle is copied by GL
// directly, alpha included; a turned one still goes through memory, without keying.
TEST_F(ScreenGrabTest, FramebufferWithAlphaIsCopiedDirectly) {
    auto gen_framebuffers =
        reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(gl_proc_address("glGenFramebuffers"));
    auto bind_framebuffer =
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(gl_proc_address("glBindFramebuffer"));
    auto attach_texture =
        reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DPROC>(gl_proc_address("glFramebufferTexture2D"));
    if (!gen_framebuffers || !bind_framebuffer || !attach_texture)
        GTEST_SKIP() << "no framebuffer objects";
    GLuint colour = 0;
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 640, 480, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLuint framebuffer = 0;
    gen_framebuffers(1, &framebuffer);
    bind_framebuffer(GL_FRAMEBUFFER, framebuffer);
    attach_texture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    ASSERT_EQ(framebuffer_alpha_bits(), 8);

    glClearColor(0, 0, 0, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT);
    fill_window(100, 50, 3, 2, 0x8000FF);
    fill_window(103, 50, 3, 2, 0x00FF00);
    grab_sprite(4, 100, 50, 6, 3);
    ImageBuffer picture = grabbed(4);
    EXPECT_EQ(colour_at(picture, 0, 0), 0x8000FF);
    EXPECT_EQ(picture.pixel(0, 0)[3], 255);  // the framebuffer's own alpha, never the key's
    EXPECT_EQ(colour_at(picture, 5, 1), 0x00FF00);
    EXPECT_EQ(colour_at(picture, 0, 2), 0);
    EXPECT_EQ(picture.pixel(0, 2)[3], 128);

    platform::opengl_duderedi()->orientation = 2;
    grab_sprite(4, 640 - 106, 480 - 53, 6, 3);
    picture = grabbed(4);
    EXPECT_EQ(colour_at(picture, 5, 2), 0x8000FF);
    EXPECT_EQ(picture.pixel(5, 2)[3], 255);
    EXPECT_EQ(colour_at(picture, 0, 1), 0x00FF00);
    bind_framebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace
}  // namespace vexel
