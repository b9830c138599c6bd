#include <gtest/gtest.h>

#include <vexel/draw.h>
#include <vexel/sprites.h>

#include "gfx2d/draw_test_support.h"
#include "gfx2d/texture_store.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::lit_pixels;
using testing::screen_colour;
using testing::solid_picture;

constexpr int32_t kSprite = 7;

int32_t colour_of(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return p[0] | p[1] << 8 | p[2] << 16;
}

// Every pixel its own colour, opaque.
ImageBuffer distinct_picture(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 50 + 10);
            p[1] = static_cast<uint8_t>(y * 40 + 30);
            p[2] = 200;
            p[3] = 255;
        }
    }
    return picture;
}

class SpriteDrawTest : public testing::DrawTest {
protected:
    void SetUp() override {
        testing::DrawTest::SetUp();
        set_smoothing(false);
    }
};

TEST_F(SpriteDrawTest, SpriteAtIntegerPositionLandsPixelExact) {
    const ImageBuffer picture = distinct_picture(5, 3);
    make_sprite(kSprite, picture);
    draw_sprite(kSprite, 10, 20);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(screen_colour(10 + x, 20 + y), colour_of(picture, x, y)) << x << ", " << y;
    }
    EXPECT_EQ(lit_pixels(5, 15, 16, 14), 15);
    EXPECT_EQ(texture_store().bound_2d_slot, kSprite);
    EXPECT_EQ(
        testing::texture_parameter(texture_store().slot(kSprite)->texture, GL_TEXTURE_MAG_FILTER),
        GL_NEAREST);
}

TEST_F(SpriteDrawTest, UpsideDownScreenShowsTheSpriteTurned) {
    const ImageBuffer picture = distinct_picture(3, 2);
    make_sprite(kSprite, picture);
    platform::OpenGLDuderedi& gl = *platform::opengl_duderedi();
    gl.orientation = 2;
    gl.set_viewport(0, 0, 0, 0);
    draw_sprite(kSprite, 10, 20);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(screen_colour(639 - 10 - x, 479 - 20 - y), colour_of(picture, x, y));
            EXPECT_EQ(get_pixel(10 + x, 20 + y), colour_of(picture, x, y));
        }
    }
}

TEST_F(SpriteDrawTest, SmoothingSwitchesTheFiltersToLinear) {
    make_sprite(kSprite, distinct_picture(4, 4));
    set_smoothing(true);
    draw_sprite(kSprite, 0, 0);
    const uint32_t texture = texture_store().slot(kSprite)->texture;
    EXPECT_EQ(testing::texture_parameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(testing::texture_parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(testing::texture_parameter(texture, GL_TEXTURE_WRAP_S), GL_REPEAT);
}

TEST_F(SpriteDrawTest, AnimationFrameFiveIsTheSecondFrameOfTheSecondRow) {
    // 64 x 32 in 16 x 16 frames, four to a row; frame n has its own colour.
    ImageBuffer picture;
    picture.size_for(64, 32);
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(40 + 20 * (x / 16 + 4 * (y / 16)));
            p[3] = 255;
        }
    }
    make_sprite(kSprite, picture);
    set_sprite_frame_size(kSprite, 16, 16);
    draw_animation(kSprite, 5, 100, 50);
    for (int32_t y = 50; y < 66; ++y) {
        for (int32_t x = 100; x < 116; ++x)
            ASSERT_EQ(screen_colour(x, y), 140) << x << ", " << y;
    }
    EXPECT_EQ(lit_pixels(96, 46, 24, 24), 256);
}

TEST_F(SpriteDrawTest, AnimationCommandsDrawNothingWithoutFrameSize) {
    make_sprite(kSprite, solid_picture(16, 16, 0xFFFFFF));
    draw_animation(kSprite, 0, 0, 0);
    stretch_animation(kSprite, 0, 0, 0, 16, 16);
    rotozoom_animation(kSprite, 0, 8, 8, 0, 1);
    EXPECT_EQ(lit_pixels(0, 0, 20, 20), 0);
}

TEST_F(SpriteDrawTest, FramesFarBeyondThePictureStayInTheirRectangles) {
    make_sprite(kSprite, solid_picture(32, 16, 0x00FF00));
    set_sprite_frame_size(kSprite, 16, 16);
    // Texture coordinates far outside the picture: the quads still cover only their frames.
    draw_animation(kSprite, INT32_MAX, 0, 0);
    draw_animation(kSprite, INT32_MIN, 20, 0);
    stretch_animation(kSprite, INT32_MAX, 40, 0, 4, 4);
    EXPECT_EQ(lit_pixels(0, 16, 60, 10), 0);
    EXPECT_EQ(lit_pixels(16, 0, 4, 16) + lit_pixels(36, 0, 4, 16), 0);
    EXPECT_EQ(lit_pixels(44, 0, 10, 16) + lit_pixels(40, 4, 4, 12), 0);
}

TEST_F(SpriteDrawTest, StretchedFrameCoversItsRectangleAndATenth) {
    ImageBuffer picture = solid_picture(32, 16, 0x0000FF);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 16; x < 32; ++x)
            picture.pixel(x, y)[1] = 255;
    }
    make_sprite(kSprite, picture);
    set_sprite_frame_size(kSprite, 16, 16);
    stretch_animation(kSprite, 1, 10, 10, 8, 4);
    EXPECT_EQ(lit_pixels(5, 5, 20, 20), 8 * 4);
    EXPECT_EQ(screen_colour(10, 10), 0x00FFFF);
    EXPECT_EQ(screen_colour(17, 13), 0x00FFFF);
}

TEST_F(SpriteDrawTest, StretchDoublesEveryPixel) {
    const ImageBuffer picture = distinct_picture(2, 2);
    make_sprite(kSprite, picture);
    stretch_sprite(kSprite, 4, 4, 4, 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(screen_colour(4 + x, 4 + y), colour_of(picture, x / 2, y / 2));
    }
    EXPECT_EQ(lit_pixels(0, 0, 12, 12), 16);
    EXPECT_EQ(testing::texture_parameter(texture_store().slot(kSprite)->texture, GL_TEXTURE_WRAP_S),
              GL_CLAMP_TO_EDGE);
}

TEST_F(SpriteDrawTest, NegativeZoomMirrorsInPlace) {
    const ImageBuffer picture = distinct_picture(4, 2);
    make_sprite(kSprite, picture);
    zoom_sprite(kSprite, 20, 30, -1, 1);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(screen_colour(20 + x, 30 + y), colour_of(picture, 3 - x, y));
    }
    EXPECT_EQ(lit_pixels(16, 26, 12, 10), 8);
}

TEST_F(SpriteDrawTest, ZoomGrowsAboutTheCentre) {
    make_sprite(kSprite, solid_picture(4, 4, 0xFFFFFF));
    zoom_sprite(kSprite, 20, 20, 2, 3);
    // 8 x 12, moved left by 2 and up by 4.
    EXPECT_EQ(lit_pixels(10, 10, 30, 30), 8 * 12);
    EXPECT_EQ(screen_colour(18, 16), 0xFFFFFF);
    EXPECT_EQ(screen_colour(25, 27), 0xFFFFFF);
    EXPECT_EQ(screen_colour(17, 16), 0);
}

TEST_F(SpriteDrawTest, PositiveAngleTurnsCounterClockwise) {
    const ImageBuffer picture = distinct_picture(4, 2);
    make_sprite(kSprite, picture);
    rotate_sprite(kSprite, 40, 40, 90);
    // Turned about (42, 41): 2 wide, 4 high; the picture's right edge is now at the top.
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t i = 0; i < 2; ++i)
            EXPECT_EQ(screen_colour(41 + i, 39 + j), colour_of(picture, 3 - j, i)) << i << j;
    }
    EXPECT_EQ(lit_pixels(34, 34, 16, 16), 8);
}

TEST_F(SpriteDrawTest, RotozoomedFrameTurnsAboutItsCentre) {
    const ImageBuffer picture = distinct_picture(4, 2);
    make_sprite(kSprite, picture);
    set_sprite_frame_size(kSprite, 4, 2);
    rotozoom_animation(kSprite, 0, 40, 40, 90, 1);
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t i = 0; i < 2; ++i)
            EXPECT_EQ(screen_colour(41 + i, 39 + j), colour_of(picture, 3 - j, i)) << i << j;
    }
}

TEST_F(SpriteDrawTest, HalfAlphaModeDrawsHalfTransparent) {
    make_sprite(kSprite, solid_picture(4, 4, 0xFFFFFF));
    set_alpha_mode(-0.5);
    draw_sprite(kSprite, 0, 0);
    EXPECT_NEAR(screen_colour(1, 1) & 255, 128, 2);
}

TEST_F(SpriteDrawTest, AdditiveModeAddsWithFullAlpha) {
    make_sprite(kSprite, solid_picture(4, 4, 100));
    set_alpha_mode(2);
    draw_sprite(kSprite, 0, 0);
    draw_sprite(kSprite, 0, 0);
    EXPECT_EQ(screen_colour(1, 1), 200);
}

TEST_F(SpriteDrawTest, AlphaModeZeroReplacesWhatIsThere) {
    testing::fill_window(0, 0, 8, 8, 0x0000FF);
    make_sprite(kSprite, solid_picture(4, 4, 0x00FF00, 128));
    set_alpha_mode(-0.5);
    set_alpha_mode(0);
    draw_sprite(kSprite, 0, 0);
    EXPECT_EQ(screen_colour(1, 1), 0x00FF00);
    EXPECT_EQ(screen_colour(5, 5), 0x0000FF);
}

TEST_F(SpriteDrawTest, EmptyAndUnknownSlotsDrawNothing) {
    make_sprite(kSprite, solid_picture(4, 4, 0xFFFFFF));
    free_sprite(kSprite);
    draw_sprite(kSprite, 0, 0);
    stretch_sprite(kSprite, 0, 0, 10, 10);
    rotozoom_sprite(kSprite, 0, 0, 30, 2);
    draw_sprite(70000, 0, 0);
    draw_sprite(-5, 0, 0);
    zoom_sprite(-1, 0, 0, 2, 2);
    EXPECT_EQ(lit_pixels(0, 0, 20, 20), 0);
}

}  // namespace
}  // namespace vexel
