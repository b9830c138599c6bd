#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include <vexel/frame.h>
#include <vexel/offscreen.h>
#include <vexel/sprites.h>
#include <vexel/window.h>

#include "gfx2d/gl_test_support.h"
#include "gfx2d/offscreen_surfaces.h"
#include "gfx2d/offscreen_test_support.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "platform/opengl_duderedi.h"

namespace vexel {
namespace {

using testing::draw_quad;
using testing::fill_window;
using testing::window_pixels;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;

struct Pixel {
    int32_t colour;
    int32_t alpha;
};

Pixel pixel_of(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return {p[0] | p[1] << 8 | p[2] << 16, p[3]};
}

std::vector<int32_t> viewport() {
    std::vector<int32_t> box(4);
    glGetIntegerv(GL_VIEWPORT, box.data());
    return box;
}

// Every test runs once with framebuffer objects and once on the back-buffer emulation.
class OffscreenTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        engine_ = testing::engine_with_framebuffers(emulated());
        ASSERT_TRUE(engine_->has_window());
        ASSERT_EQ(offscreen_state().framebuffers_available, !emulated());
        // A screen with something in the corner a surface covers.
        fill_window(0, 0, 640, 480, 0x203040);
        fill_window(5, 6, 30, 20, kGreen);
    }
    bool emulated() const { return GetParam(); }
    platform::OpenGLDuderedi& gl() { return *platform::opengl_duderedi(); }
    ImageBuffer slot_pixels(int32_t slot) {
        ImageBuffer picture;
        EXPECT_TRUE(read_sprite_pixels(slot, picture));
        return picture;
    }

    std::unique_ptr<testing::HeadlessEngine> engine_;
};

TEST_P(OffscreenTest, DrawingLeavesTheScreenAndFillsTheSlot) {
    const std::vector<uint8_t> screen = window_pixels();
    create_offscreen(0, 100, 64, 64);
    use_offscreen(0);
    EXPECT_EQ(gl().render_target, 0);
    draw_quad(8, 4, 16, 8, kRed);
    use_offscreen(-1);
    EXPECT_EQ(gl().render_target, -1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    EXPECT_EQ(window_pixels(), screen);
    const ImageBuffer picture = slot_pixels(100);
    ASSERT_EQ(picture.width(), 64);
    ASSERT_EQ(picture.height(), 64);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            const bool inside = x >= 8 && x < 24 && y >= 4 && y < 12;
            const Pixel p = pixel_of(picture, x, y);
            if (inside) {
                ASSERT_EQ(p.colour, kRed) << x << "," << y;
                ASSERT_EQ(p.alpha, 255) << x << "," << y;
            } else {
                ASSERT_EQ(p.alpha, 0) << x << "," << y;
            }
        }
    }
}

TEST_P(OffscreenTest, DrawingContinuesOnWhatTheSurfaceHeld) {
    create_offscreen(3, 200, 40, 30);
    use_offscreen(3);
    draw_quad(0, 0, 10, 10, kRed);
    end_offscreen();
    use_offscreen(3);
    // Selecting it again without ending keeps the drawing too.
    use_offscreen(3);
    draw_quad(30, 20, 10, 10, kBlue);
    end_offscreen();

    const ImageBuffer picture = slot_pixels(200);
    EXPECT_EQ(pixel_of(picture, 0, 0).colour, kRed);
    EXPECT_EQ(pixel_of(picture, 9, 9).colour, kRed);
    EXPECT_EQ(pixel_of(picture, 39, 29).colour, kBlue);
    EXPECT_EQ(pixel_of(picture, 30, 20).alpha, 255);
    EXPECT_EQ(pixel_of(picture, 20, 15).alpha, 0);
    EXPECT_EQ(engine_->log().find("Trying to rebind"), std::string::npos);
}

TEST_P(OffscreenTest, ASurfaceOfOnePixelHasATwoByTwoTexture) {
    create_offscreen(0, 100, 1, 1);
    const SpriteSlot& sprite = *texture_store().slot(100);
    EXPECT_EQ(sprite.width, 1);
    EXPECT_EQ(sprite.height, 1);
    EXPECT_EQ(sprite.texture_width, 2);
    EXPECT_EQ(sprite.texture_height, 2);
    EXPECT_FLOAT_EQ(sprite.u_extent, 0.5f);
    EXPECT_FLOAT_EQ(sprite.v_extent, 0.5f);
    EXPECT_EQ(sprite.mip_texture, 0u);
    const ImageBuffer level = testing::texture_level(sprite.texture, 0);
    EXPECT_EQ(level.width(), 2);
    EXPECT_EQ(level.height(), 2);
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(pixel_of(level, i % 2, i / 2).alpha, 0);

    use_offscreen(0);
    draw_quad(0, 0, 1, 1, kBlue);
    end_offscreen();
    EXPECT_EQ(texture_store().slot(100)->texture_width, 2);
    EXPECT_EQ(pixel_of(slot_pixels(100), 0, 0).colour, kBlue);
}

TEST_P(OffscreenTest, TheViewportIsTheSurfaceUntilItEnds) {
    create_offscreen(1, 100, 100, 50);
    use_offscreen(1);
    EXPECT_EQ(viewport(), (std::vector<int32_t>{0, 0, 100, 50}));
    EXPECT_EQ(gl().viewport_width, 100);
    EXPECT_EQ(gl().viewport_height, 50);
    // A viewport set while drawing is one of the surface.
    set_viewport(0, 0, 0, 0);
    EXPECT_EQ(viewport(), (std::vector<int32_t>{0, 0, 100, 50}));
    set_viewport(10, 5, 20, 10);
    EXPECT_EQ(viewport(), (std::vector<int32_t>{10, 50 - 10 - 5, 20, 10}));
    end_offscreen();
    EXPECT_EQ(viewport(), (std::vector<int32_t>{0, 0, 640, 480}));
    EXPECT_EQ(gl().viewport_width, 640);
}

TEST_P(OffscreenTest, SizesAndGrabsWhileDrawingAreTheSurfaces) {
    create_offscreen(2, 100, 40, 24);
    use_offscreen(2);
    int32_t w = 0;
    int32_t h = 0;
    script_screen_size(&w, &h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 24);
    draw_quad(0, 0, 40, 24, kBlue);
    draw_quad(2, 3, 4, 5, kRed);
    grab_sprite(300, 2, 3, 4, 5);
    end_offscreen();
    script_screen_size(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    const ImageBuffer grabbed = slot_pixels(300);
    ASSERT_EQ(grabbed.width(), 4);
    ASSERT_EQ(grabbed.height(), 5);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(pixel_of(grabbed, x, y).colour, kRed) << x << "," << y;
}

TEST_P(OffscreenTest, EveryPresentEndsTheSurface) {
    setenv("VEXEL_FIXED_FRAME_MS", "1", 1);
    create_offscreen(0, 100, 16, 16);
    use_offscreen(0);
    draw_quad(0, 0, 16, 16, kGreen);
    show_screen();
    EXPECT_EQ(gl().render_target, -1);
    EXPECT_EQ(offscreen_state().current, -1);
    const ImageBuffer picture = slot_pixels(100);
    EXPECT_EQ(pixel_of(picture, 0, 0).colour, kGreen);
    EXPECT_EQ(pixel_of(picture, 15, 15).colour, kGreen);
}

TEST_P(OffscreenTest, NumbersOutsideTheTablesAreIgnored) {
    create_offscreen(32, 100, 8, 8);
    create_offscreen(-1, 100, 8, 8);
    EXPECT_EQ(texture_store().slot(100)->width, 0);
    create_offscreen(0, 70000, 8, 8);
    EXPECT_EQ(offscreen_surface(0)->slot, -1);
    const std::vector<uint8_t> screen = window_pixels();
    use_offscreen(32);
    EXPECT_EQ(gl().render_target, -1);
    use_offscreen(7);  // a surface never created
    EXPECT_EQ(gl().render_target, -1);
    end_offscreen();
    EXPECT_EQ(window_pixels(), screen);
}

// Selecting a surface that has no picture still ends the current one first: what was drawn
// stays in its slot and the drawing that follows lands on the screen.
TEST_P(OffscreenTest, ASurfaceWithoutPictureEndsTheCurrentOne) {
    for (const int32_t missing : {7, 32}) {
        create_offscreen(0, 100, 32, 32);
        use_offscreen(0);
        draw_quad(0, 0, 8, 8, kRed);
        use_offscreen(missing);
        EXPECT_EQ(gl().render_target, -1) << missing;
        EXPECT_EQ(offscreen_state().current, -1) << missing;
        EXPECT_EQ(viewport(), (std::vector<int32_t>{0, 0, 640, 480})) << missing;
        draw_quad(300, 200, 4, 4, kBlue);
        EXPECT_EQ(testing::read_pixel(301, 480 - 202), kBlue) << missing;
        EXPECT_EQ(pixel_of(slot_pixels(100), 1, 1).colour, kRed) << missing;
    }
}

TEST_P(OffscreenTest, SizesBelowOneOnlyEmptyTheSlot) {
    ExactIntArray pixels;
    pixels.dim(4);
    ASSERT_TRUE(sprite_from_pixels(pixels, 100, 2, 2));
    create_offscreen(0, 100, 0, 5);
    EXPECT_EQ(texture_store().slot(100)->width, 0);
    EXPECT_EQ(offscreen_surface(0)->slot, -1);
    EXPECT_NE(engine_->log().find("can't create FBO for neg dims 0x5\n"), std::string::npos);
    use_offscreen(0);
    EXPECT_EQ(gl().render_target, -1);
}

TEST_P(OffscreenTest, ASlotFreedAfterCreationIsNotDrawnInto) {
    create_offscreen(0, 100, 16, 16);
    free_sprite(100);
    use_offscreen(0);
    EXPECT_EQ(gl().render_target, -1);
}

TEST_P(OffscreenTest, ASlotEmptiedWhileDrawnToStillGivesTheScreenBack) {
    const std::vector<uint8_t> screen = window_pixels();
    create_offscreen(0, 100, 64, 32);
    use_offscreen(0);
    draw_quad(0, 0, 64, 32, kRed);
    free_sprite(100);
    end_offscreen();
    EXPECT_EQ(gl().render_target, -1);
    EXPECT_EQ(texture_store().slot(100)->width, 0);
    EXPECT_EQ(window_pixels(), screen);
}

TEST_P(OffscreenTest, ASlotTakenByAnotherSurfaceLeavesTheFirst) {
    create_offscreen(0, 100, 16, 16);
    create_offscreen(1, 100, 32, 32);
    EXPECT_EQ(offscreen_surface(0)->slot, -1);
    EXPECT_EQ(offscreen_surface(0)->framebuffer, 0u);
    EXPECT_EQ(offscreen_surface(1)->slot, 100);
    use_offscreen(1);
    draw_quad(0, 0, 32, 32, kRed);
    end_offscreen();
    EXPECT_EQ(pixel_of(slot_pixels(100), 31, 31).colour, kRed);
}

TEST_P(OffscreenTest, ASurfaceLargerThanTheWindowStillRestoresTheScreen) {
    const std::vector<uint8_t> screen = window_pixels();
    create_offscreen(0, 100, 1000, 600);
    use_offscreen(0);
    draw_quad(0, 0, 1000, 600, kBlue);
    end_offscreen();
    EXPECT_EQ(window_pixels(), screen);
    // The back buffer holds the picture's lowest 480 rows and leftmost 640 columns.
    const ImageBuffer picture = slot_pixels(100);
    EXPECT_EQ(pixel_of(picture, 0, 599).colour, kBlue);
    EXPECT_EQ(pixel_of(picture, 639, 120).colour, kBlue);
    EXPECT_EQ(pixel_of(picture, 0, 0).colour, emulated() ? 0 : kBlue);
    EXPECT_EQ(pixel_of(picture, 999, 599).colour, emulated() ? 0 : kBlue);
}

TEST_P(OffscreenTest, TheSurfaceSlotIsAnOrdinarySpriteAfterwards) {
    create_offscreen(0, 100, 20, 10);
    use_offscreen(0);
    draw_quad(0, 0, 20, 10, kRed);
    end_offscreen();
    int32_t w = 0;
    int32_t h = 0;
    get_sprite_size(100, w, h);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 10);
    ExactIntArray pixels;
    ASSERT_TRUE(sprite_to_pixels(pixels, 100));
    EXPECT_EQ(pixels.count(), 200);
}

INSTANTIATE_TEST_SUITE_P(Paths, OffscreenTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Emulated" : "Framebuffer";
                         });

TEST(OffscreenEmulation, TheScreenTurnIsKeptWhileASurfaceIsEmulated) {
    auto engine = testing::engine_with_framebuffers(true);
    platform::OpenGLDuderedi& gl = *platform::opengl_duderedi();
    create_offscreen(0, 100, 16, 16);
    testing::suspend_leak_checks();  // the driver keeps the code it builds for turned screens
    gl.orientation = 2;
    use_offscreen(0);
    EXPECT_EQ(gl.orientation, 0);
    end_offscreen();
    testing::resume_leak_checks();
    EXPECT_EQ(gl.orientation, 2);
}

TEST(OffscreenEmulation, HiddenFramebuffersAreLogged) {
    auto engine = testing::engine_with_framebuffers(true);
    EXPECT_NE(engine->log().find("init fbo\ncan't use framebuffer object\n"), std::string::npos);
}

TEST(OffscreenFramebuffer, AvailableFramebuffersAreNotLogged) {
    auto engine = testing::engine_with_framebuffers(false);
    EXPECT_EQ(engine->log().find("can't use framebuffer object"), std::string::npos);
    create_offscreen(0, 100, 30, 20);
    const OffscreenSurface& surface = *offscreen_surface(0);
    EXPECT_NE(surface.framebuffer, 0u);
    EXPECT_NE(surface.depth_buffer, 0u);
    EXPECT_EQ(surface.saved_binding, -1);
    EXPECT_EQ(surface.width, 32);
    EXPECT_EQ(surface.height, 32);
    EXPECT_EQ(surface.slot, 100);
}

}  // namespace
}  // namespace vexel
