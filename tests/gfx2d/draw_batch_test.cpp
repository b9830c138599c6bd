#include "gfx2d/draw_batch.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <vexel/draw.h>
#include <vexel/fonts.h>
#include <vexel/offscreen.h>
#include <vexel/scene3d.h>

#include "gfx2d/draw_test_support.h"
#include "gfx2d/font_sheets.h"
#include "image/image_decoders.h"
#include "platform/present.h"

namespace vexel {
namespace {

using testing::screen_colour;
using testing::solid_picture;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kWhite = 0xFFFFFF;

class DrawBatchTest : public testing::DrawTest {
protected:
    void SetUp() override {
        testing::DrawTest::SetUp();
        glClear(GL_DEPTH_BUFFER_BIT);
        set_smoothing(false);
        make_sprite(1, solid_picture(8, 8, kRed));
        make_sprite(2, solid_picture(8, 8, kGreen));
    }
    // The back buffer as it is, without drawing what the engine still holds.
    static int32_t raw_colour(int32_t x, int32_t y) {
        uint8_t rgba[4] = {};
        glReadPixels(x, testing::kScreenHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return rgba[0] | rgba[1] << 8 | rgba[2] << 16;
    }
};

// Draws wait for the end of their run; reading a pixel through the engine draws them first.
TEST_F(DrawBatchTest, DrawsWaitUntilSomethingReadsTheScreen) {
    draw_sprite(1, 0, 0);
    draw_sprite(1, 8, 0);
    EXPECT_EQ(raw_colour(2, 2), 0);
    EXPECT_EQ(get_pixel(2, 2), kRed);
    EXPECT_EQ(raw_colour(10, 2), kRed);
}

// Every change of texture, wrapping, primitive, mode or colour ends a run, and the runs land in
// the order they were asked for: each later draw covers the earlier ones where they overlap.
TEST_F(DrawBatchTest, InterleavedTexturesModesAndPrimitivesKeepTheirOrder) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    draw_rect(0, 0, 64, 40, kBlue);
    draw_sprite(1, 0, 0);
    draw_sprite(2, 4, 0);            // another texture
    draw_sprite(1, 8, 0);            // the first again
    stretch_sprite(2, 12, 0, 8, 8);  // the same texture clamped
    draw_sprite(2, 16, 0);           // and repeated
    draw_rect(18, 2, 2, 2, kWhite);  // untextured between textured runs
    set_pixel(19, 3, kRed);
    draw_line(0, 10, 30, 10, kGreen);
    draw_sprite(1, 24, 8);  // over the line's end
    set_alpha_mode(-0.5);
    draw_sprite(2, 0, 16);
    set_alpha_mode(0);
    draw_sprite(1, 4, 16);
    print_text("I", 8, 24, false);  // the glyph sheet between two sprites
    draw_sprite(1, 8, 28);

    struct Expected {
        int32_t x, y, colour;
    };
    for (const Expected& e :
         {Expected{2, 2, kRed}, Expected{6, 2, kGreen}, Expected{10, 2, kRed},
          Expected{15, 2, kGreen}, Expected{18, 2, kWhite}, Expected{19, 3, kRed},
          Expected{20, 5, kGreen}, Expected{2, 10, kGreen}, Expected{26, 10, kRed},
          Expected{5, 20, kRed}, Expected{10, 30, kRed}, Expected{40, 30, kBlue}}) {
        EXPECT_EQ(screen_colour(e.x, e.y), e.colour) << e.x << ", " << e.y;
    }
    // Green at half strength over blue, then the glyph's white stroke in the text's cell.
    EXPECT_EQ(screen_colour(1, 20) & 255, 0);
    EXPECT_NEAR(screen_colour(1, 20) >> 8 & 255, 128, 2);
    EXPECT_NEAR(screen_colour(1, 20) >> 16 & 255, 127, 2);
    EXPECT_EQ(screen_colour(11, 25), kWhite);
}

// 2D drawing before a 3D frame is on the screen before the 3D drawing, in the 2D projection;
// 2D drawing after end_3d covers it.
TEST_F(DrawBatchTest, ThreeDimensionalDrawingKeepsItsPlaceBetweenTwoDimensionalDraws) {
    draw_rect(0, 0, 640, 480, kBlue);
    begin_3d(1, 1000, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    object_start(1);
    object_add_vertex(0, 0, 0, 0, 0, -1);
    for (const auto& [x, y] : {std::pair{-1, -1}, std::pair{-1, 1}, std::pair{1, -1},
                               std::pair{1, -1}, std::pair{-1, 1}, std::pair{1, 1}})
        object_add_vertex(x, y, 0, 0, 0, kRed);
    object_end();
    draw_object(1, 0);
    end_3d();
    draw_rect(318, 238, 4, 4, kGreen);
    EXPECT_EQ(screen_colour(10, 10), kBlue);
    EXPECT_EQ(screen_colour(300, 220), kRed);
    EXPECT_EQ(screen_colour(319, 239), kGreen);
}

// What is drawn before a surface is selected stays on the screen; what is drawn into it lands
// in its slot, not on the screen.
TEST_F(DrawBatchTest, SurfaceChangesEndTheRun) {
    create_offscreen(0, 100, 16, 16);
    draw_sprite(1, 0, 0);
    use_offscreen(0);
    draw_sprite(2, 0, 0);
    use_offscreen(-1);
    draw_sprite(100, 40, 0);
    EXPECT_EQ(screen_colour(2, 2), kRed);
    EXPECT_EQ(screen_colour(42, 2), kGreen);
}

// The present draws what is held before the frame is captured and shown.
TEST(DrawBatchPresent, TheCapturedFrameShowsTheHeldDraws) {
    std::string shot;
    testing::HeadlessEngine engine(nullptr, 1, [&shot](const testing::ScopedTempDir& temp) {
        shot = temp.file("shot.png");
        setenv("VEXEL_CAPTURE", ("1:" + shot).c_str(), 1);
    });
    ASSERT_TRUE(engine.has_window());
    testing::LeakCheckPause pause;
    draw_rect(0, 0, 4, 4, kGreen);
    platform::present_frame(nullptr, 1);
    ImageBuffer picture;
    ASSERT_TRUE(decode_png(shot.c_str(), -1, picture));
    const uint8_t* p = picture.pixel(1, 1);
    EXPECT_EQ(p[0] | p[1] << 8 | p[2] << 16, kGreen);
}

}  // namespace
}  // namespace vexel
