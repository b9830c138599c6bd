#include <gtest/gtest.h>

#include <vexel/draw.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/sprites.h>

#include "gfx2d/background_draw.h"
#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/texture_store.h"
#include "image/image_encoders.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"

namespace vexel {
namespace {

using testing::gradient;
using testing::gradient_at;
using testing::screen_colour;
using testing::solid_picture;

class BackgroundDrawTest : public testing::DrawTest {
protected:
    std::string saved(const ImageBuffer& picture, const char* name) {
        const std::string path = engine_.temp().file(name);
        EXPECT_TRUE(encode_png(path.c_str(), picture));
        return path;
    }
};

TEST_F(BackgroundDrawTest, PresentDrawsBackgroundZeroInsteadOfClearing) {
    ASSERT_TRUE(load_background_file(0, saved(gradient(100, 60), "bg.png").c_str()));
    platform::present_frame(nullptr);
    EXPECT_EQ(screen_colour(0, 0), gradient_at(0, 0));
    EXPECT_EQ(screen_colour(99, 59), gradient_at(99, 59));
    EXPECT_EQ(screen_colour(37, 21), gradient_at(37, 21));
    // The rest of the 512 x 512 tile is transparent black; beyond it the screen was cleared.
    EXPECT_EQ(screen_colour(100, 30), 0);
    EXPECT_EQ(screen_colour(600, 30), 0);
}

TEST_F(BackgroundDrawTest, EveryFrameStartsWithTheBackgroundAndPlainDrawingModes) {
    ASSERT_TRUE(load_background_file(0, saved(gradient(64, 64), "frame.png").c_str()));
    set_alpha_mode(-0.5);
    set_smoothing(false);
    show_screen();
    EXPECT_EQ(screen_colour(63, 63), gradient_at(63, 63));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
    EXPECT_FLOAT_EQ(platform::opengl_duderedi()->global_alpha, 1.0f);
    EXPECT_TRUE(platform::opengl_duderedi()->smoothing);
    testing::fill_window(0, 0, 640, 480, 0x00FF00);
    show_screen();
    EXPECT_EQ(screen_colour(10, 10), gradient_at(10, 10));
    EXPECT_EQ(screen_colour(100, 10), 0);
}

TEST_F(BackgroundDrawTest, LoadedBackgroundIsDrawnAtOnce) {
    load_background(saved(gradient(50, 40), "now.png").c_str());
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(screen_colour(49, 39), gradient_at(49, 39));
    EXPECT_EQ(screen_colour(10, 5), gradient_at(10, 5));
}

TEST_F(BackgroundDrawTest, LargePictureTilesJoinSeamlessly) {
    ASSERT_TRUE(load_background_file(0, saved(gradient(640, 480), "big.png").c_str()));
    draw_background(0);
    for (const auto& [x, y] : {std::pair{511, 100}, std::pair{512, 100}, std::pair{300, 478},
                               std::pair{300, 479}, std::pair{639, 479}, std::pair{513, 478}})
        EXPECT_EQ(screen_colour(x, y), gradient_at(x, y)) << x << ", " << y;
}

TEST_F(BackgroundDrawTest, CopiedScreenDrawsBackWhereItWas) {
    testing::fill_window(10, 10, 30, 20, 0x00FF00);
    testing::fill_window(600, 400, 40, 80, 0x0000FF);
    copy_screen_to_background(3);
    clear_screen();
    draw_background(3);
    EXPECT_EQ(screen_colour(10, 10), 0x00FF00);
    EXPECT_EQ(screen_colour(39, 29), 0x00FF00);
    EXPECT_EQ(screen_colour(40, 29), 0);
    EXPECT_EQ(screen_colour(639, 479), 0x0000FF);
    EXPECT_EQ(screen_colour(599, 479), 0);
}

TEST_F(BackgroundDrawTest, DrawingResetsTheAlphaModeAndRestoresTheAlphaTest) {
    ASSERT_TRUE(load_background_file(0, saved(gradient(16, 16), "small.png").c_str()));
    set_alpha_mode(-0.5);
    set_alpha_test(0.25);
    draw_background(0);
    EXPECT_EQ(screen_colour(3, 3), gradient_at(3, 3));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
    EXPECT_FLOAT_EQ(platform::opengl_duderedi()->global_alpha, 1.0f);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 1);
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.25f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    set_alpha_test(1);
    draw_background(0);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_ALPHA_TEST), 0);
}

TEST_F(BackgroundDrawTest, BlendedLayerMixesWithWhatIsThere) {
    ASSERT_TRUE(load_background_file(1, saved(solid_picture(32, 32, 200), "red.png").c_str()));
    ASSERT_TRUE(
        load_background_file(2, saved(solid_picture(32, 32, 100 << 8), "green.png").c_str()));
    draw_background(2);
    blend_background(1, 0.25f);
    const int32_t mixed = screen_colour(5, 5);
    EXPECT_NEAR(mixed & 255, 50, 2);
    EXPECT_NEAR(mixed >> 8 & 255, 75, 2);
    EXPECT_EQ(platform::gl_enable_cache_state(GL_BLEND), 0);
}

TEST_F(BackgroundDrawTest, EmptyOrUnknownBackgroundDrawsNothing) {
    testing::fill_window(0, 0, 8, 8, 0x00FF00);
    draw_background(4);
    draw_background(8);
    draw_background(-1);
    EXPECT_EQ(screen_colour(2, 2), 0x00FF00);
}

}  // namespace
}  // namespace vexel
