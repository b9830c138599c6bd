#include "platform/letterbox.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <vexel/app.h>
#include <vexel/draw.h>
#include <vexel/frame.h>
#include <vexel/input.h>
#include <vexel/music.h>
#include <vexel/offscreen.h>
#include <vexel/scene3d.h>
#include <vexel/sprites.h>
#include <vexel/window.h>

#include "platform/event_injection.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/video.h"
#include "sound/video_player.h"
#include "support/golden_image.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::Picture;

// A display that has one mode, 1280 x 1024: a 640 x 480 game doubled is 1280 x 960, with 32
// black rows above and below.
constexpr int32_t kDisplayW = 1280;
constexpr int32_t kDisplayH = 1024;
constexpr int32_t kBar = 32;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kNear = 0x00C000;
constexpr int32_t kFar = 0x0000C0;
constexpr int32_t kGround = 0x302010;

int32_t colour_at(const Picture& picture, int32_t x, int32_t y) {
    const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16;
}

// The window's own framebuffer, the picture the display shows, rows from the top.
Picture displayed() {
    const auto bind =
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(platform::gl_proc_address("glBindFramebuffer"));
    std::vector<uint8_t> rows(size_t{kDisplayW} * kDisplayH * 4);
    bind(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, kDisplayW, kDisplayH, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    bind(GL_READ_FRAMEBUFFER, platform::opengl_duderedi()->letterbox.framebuffer());
    Picture picture{kDisplayW, kDisplayH, std::vector<uint8_t>(rows.size())};
    const size_t row_bytes = size_t{kDisplayW} * 4;
    for (int32_t y = 0; y < kDisplayH; ++y)
        std::copy_n(&rows[(kDisplayH - 1 - y) * row_bytes], row_bytes,
                    &picture.rgba[y * row_bytes]);
    return picture;
}

void quad_3d(float half, float z, int32_t colour) {
    glColor3ub(uint8_t(colour & 255), uint8_t(colour >> 8 & 255), uint8_t(colour >> 16 & 255));
    glBegin(GL_QUADS);
    glVertex3f(-half, -half, z);
    glVertex3f(half, -half, z);
    glVertex3f(half, half, z);
    glVertex3f(-half, half, z);
    glEnd();
}

// 2D over a 3D view in which the near square is drawn before the far one: only a depth buffer
// keeps it in front.
void draw_scene() {
    draw_rect(0, 0, 640, 480, kGround);
    begin_3d(1, 1000, 45);
    clear_depth_buffer();
    set_camera(0, 0, 10, 0, 0, 0);
    set_cull_mode(0);
    set_depth_test(1);
    glDisable(GL_TEXTURE_2D);
    quad_3d(1, 2, kNear);
    quad_3d(3, -2, kFar);
    set_depth_test(0);
    end_3d();
    draw_rect(0, 0, 1, 1, kRed);
    draw_rect(639, 479, 1, 1, kGreen);
    draw_rect(100, 50, 10, 10, kBlue);
    draw_line(20, 400, 200, 460, kGreen);
}

class LetterboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::set_headless_desktop_size(kDisplayW, kDisplayH);
        engine_ = std::make_unique<testing::HeadlessEngine>(
            nullptr, 1, [this](const testing::ScopedTempDir& temp) {
                capture_ = temp.file("captured.png");
                setenv("VEXEL_CAPTURE", ("1:" + capture_).c_str(), 1);
                setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
                before_start(temp);
            });
        ASSERT_TRUE(engine_->has_window());
    }
    virtual void before_start(const testing::ScopedTempDir&) {}
    static platform::OpenGLDuderedi& gl() { return *platform::opengl_duderedi(); }
    std::string file(const char* name) const { return engine_->temp().file(name); }

    testing::LeakCheckPause pause_;  // the driver keeps the code it builds for new GL states
    std::unique_ptr<testing::HeadlessEngine> engine_;
    std::string capture_;
};

// On a plain window the picture is copied over scaled; on a multisampled one, which no copy can
// scale into, it is drawn as a textured square. Both leave the game's GL state as it was.
class LetterboxPictureTest : public LetterboxTest, public ::testing::WithParamInterface<int32_t> {
protected:
    void before_start(const testing::ScopedTempDir&) override {
        project_settings().multisample = GetParam();
    }
};

TEST_P(LetterboxPictureTest, TheGameKeepsItsSizeAndItsPictureFillsTheDisplayBetweenBlackBars) {
    EXPECT_EQ(platform::window_samples(gl().window) > 0, GetParam() > 0);
    set_screen(640, 480, 1);
    EXPECT_EQ(is_fullscreen_mode(), 1);
    ASSERT_TRUE(gl().letterbox.active());
    EXPECT_EQ(gl().width, 640);
    EXPECT_EQ(gl().height, 480);
    EXPECT_EQ(gl().viewport_width, 640);
    EXPECT_EQ(gl().viewport_height, 480);
    double desktop_w = 0;
    double desktop_h = 0;
    get_desktop_size(desktop_w, desktop_h);
    EXPECT_EQ(desktop_w, kDisplayW);
    EXPECT_EQ(desktop_h, kDisplayH);
    EXPECT_NE(engine_->log().find("Fullscreen 640x480 shown scaled on the 1280x1024 desktop\n"),
              std::string::npos);

    set_clear_colour(0x808080);  // the bars stay black whatever the game clears with
    draw_scene();
    EXPECT_EQ(get_pixel(0, 0), kRed);
    EXPECT_EQ(get_pixel(639, 479), kGreen);
    EXPECT_EQ(get_pixel(105, 55), kBlue);
    EXPECT_EQ(get_pixel(320, 240), kNear);
    EXPECT_EQ(get_pixel(640, 240), 0);  // beyond the game's screen
    // State the present must neither trip over nor change.
    testing::draw_held_2d();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 2, 2);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_GEN_S);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    platform::present_frame(nullptr, 1);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    for (const GLenum on : {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_GEN_S})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_FALSE(mask[1]);
    GLint texture_after = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_after);
    EXPECT_EQ(texture_after, texture);

    Picture captured;
    ASSERT_TRUE(testing::read_picture(capture_, captured));
    ASSERT_EQ(captured.width, 640u);
    ASSERT_EQ(captured.height, 480u);
    EXPECT_EQ(colour_at(captured, 0, 0), kRed);
    EXPECT_EQ(colour_at(captured, 639, 479), kGreen);
    EXPECT_EQ(colour_at(captured, 320, 240), kNear);

    // Every game pixel is a 2 x 2 block of the display, the rest black.
    const Picture shown = displayed();
    int64_t wrong = 0;
    for (int32_t y = 0; y < kDisplayH; ++y) {
        for (int32_t x = 0; x < kDisplayW; ++x) {
            const bool bar = y < kBar || y >= kDisplayH - kBar;
            const int32_t expected = bar ? 0 : colour_at(captured, x / 2, (y - kBar) / 2);
            wrong += colour_at(shown, x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(colour_at(shown, 201, kBar + 101), kBlue);
}

INSTANTIATE_TEST_SUITE_P(Samples, LetterboxPictureTest, ::testing::Values(0, 4));

// Drawing, grabs and captures give the same pixels as in a window of the game's size.
TEST_F(LetterboxTest, TheGamesPixelsAreThoseOfItsWindow) {
    draw_scene();
    save_screen(DynString(file("windowed.png").c_str()));
    set_screen(640, 480, 1);
    ASSERT_TRUE(gl().letterbox.active());
    draw_scene();
    save_screen(DynString(file("letterboxed.png").c_str()));
    platform::present_frame(nullptr, 1);

    Picture windowed;
    Picture letterboxed;
    Picture captured;
    ASSERT_TRUE(testing::read_picture(file("windowed.png"), windowed));
    ASSERT_TRUE(testing::read_picture(file("letterboxed.png"), letterboxed));
    ASSERT_TRUE(testing::read_picture(capture_, captured));
    EXPECT_EQ(colour_at(windowed, 320, 240), kNear);
    EXPECT_EQ(testing::changed_pixels(windowed, letterboxed, 0, 0, 640, 480), 0);
    EXPECT_EQ(testing::changed_pixels(windowed, captured, 0, 0, 640, 480), 0);
}

TEST_F(LetterboxTest, MousePositionsOnTheDisplayAreGamePixels) {
    set_screen(640, 480, 1);
    struct Case {
        int32_t screen_x, screen_y, game_x, game_y;
    };
    const Case cases[] = {
        {201, kBar + 101, 100, 50},
        {640, 512, 320, 240},
        {1279, kDisplayH - kBar - 1, 639, 479},
        {0, 5, 0, 0},                     // on the bar above: the top row
        {1279, kDisplayH - 1, 639, 479},  // on the bar below: the bottom row
    };
    for (const Case& c : cases) {
        platform::inject_mouse_move(engine_->window_id(), c.screen_x, c.screen_y, 0, 0);
        show_screen();
        int32_t x = -1;
        int32_t y = -1;
        int32_t b1 = 0;
        int32_t b2 = 0;
        mouse_state(x, y, b1, b2);
        EXPECT_EQ(x, c.game_x) << c.screen_x << ", " << c.screen_y;
        EXPECT_EQ(y, c.game_y) << c.screen_x << ", " << c.screen_y;
    }

    // A hidden pointer moves by game pixels too: 20 display pixels are 10 of the game's.
    show_system_pointer(0);
    show_screen();
    platform::inject_mouse_move(engine_->window_id(), 0, 0, -20, -6);
    platform::pump_messages(nullptr);
    EXPECT_EQ(mouse_axis(0), -10);
    EXPECT_EQ(mouse_axis(1), -3);
}

class ScriptedLetterboxTest : public LetterboxTest {
protected:
    void before_start(const testing::ScopedTempDir& temp) override {
        testing::write_file(temp.file("mouse.txt"), "7 mouse-move 100 50\n");
        setenv("VEXEL_INPUT_SCRIPT", temp.file("mouse.txt").c_str(), 1);
    }
};

// An input script names game pixels, wherever the display shows them.
TEST_F(ScriptedLetterboxTest, ScriptedPointerPositionsAreGamePixels) {
    set_screen(640, 480, 1);  // frames 1 to 5
    show_screen();
    show_screen();
    int32_t x = -1;
    int32_t y = -1;
    int32_t b1 = 0;
    int32_t b2 = 0;
    mouse_state(x, y, b1, b2);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
}

TEST_F(LetterboxTest, OnlyASizeTheDisplayCannotTakeIsScaled) {
    struct Case {
        int32_t width, height, fullscreen;
        bool scaled;
    };
    const Case cases[] = {
        {640, 480, 1, true}, {640, 480, 0, false},
        {800, 600, 1, true}, {kDisplayW, kDisplayH, 1, false},  // the display's own mode
        {320, 200, 1, true},
    };
    const auto bound_framebuffer = [] {
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        return static_cast<uint32_t>(bound);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " " << c.fullscreen);
        set_screen(c.width, c.height, c.fullscreen);
        EXPECT_EQ(is_fullscreen_mode(), c.fullscreen);
        EXPECT_EQ(gl().letterbox.active(), c.scaled);
        EXPECT_EQ(gl().width, c.width);
        EXPECT_EQ(gl().height, c.height);
        EXPECT_EQ(bound_framebuffer(), gl().letterbox.framebuffer());
        // The game's bottom-right pixel, read where the game's screen is.
        draw_rect(c.width - 1, c.height - 1, 1, 1, kBlue);
        EXPECT_EQ(get_pixel(c.width - 1, c.height - 1), kBlue);
        if (!c.scaled) {
            EXPECT_EQ(testing::read_pixel(c.width - 1, 0), kBlue);
        }
    }
    set_screen(640, 480, 1);
    EXPECT_EQ(hide_window(), 1);
    EXPECT_FALSE(gl().letterbox.active());
    EXPECT_EQ(bound_framebuffer(), 0u);
}

// Offscreen surfaces, with framebuffer objects and on the emulation that draws them on the
// game's screen and copies them, work the same on a letterboxed screen.
class LetterboxSurfaceTest : public LetterboxTest, public ::testing::WithParamInterface<bool> {
protected:
    void before_start(const testing::ScopedTempDir&) override {
        setenv("VEXEL_NO_FBO", GetParam() ? "1" : "0", 1);
    }
};

TEST_P(LetterboxSurfaceTest, SurfacesAndGrabsDrawOnTheGamesScreen) {
    set_screen(640, 480, 1);
    ASSERT_TRUE(gl().letterbox.active());
    draw_rect(0, 0, 64, 64, kRed);
    create_offscreen(0, 5, 32, 32);
    use_offscreen(0);
    draw_rect(0, 0, 32, 32, kBlue);
    draw_rect(0, 0, 4, 4, kGreen);
    end_offscreen();
    EXPECT_EQ(get_pixel(10, 10), kRed) << "the screen under the surface is as it was";

    draw_sprite(5, 100, 100);
    EXPECT_EQ(get_pixel(101, 101), kGreen);
    EXPECT_EQ(get_pixel(120, 120), kBlue);
    grab_sprite(6, 96, 96, 40, 40);
    draw_sprite(6, 200, 200);
    EXPECT_EQ(get_pixel(205, 205), kGreen);
    EXPECT_EQ(get_pixel(230, 230), kBlue);

    platform::present_frame(nullptr);
    const Picture shown = displayed();
    EXPECT_EQ(colour_at(shown, 2 * 10, kBar + 2 * 10), kRed);
    EXPECT_EQ(colour_at(shown, 2 * 120 + 1, kBar + 2 * 120 + 1), kBlue);
    EXPECT_EQ(colour_at(shown, 2 * 205, kBar + 2 * 205), kGreen);
    EXPECT_EQ(colour_at(shown, 2 * 10, 10), 0);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}

INSTANTIATE_TEST_SUITE_P(Paths, LetterboxSurfaceTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Emulated" : "Framebuffer";
                         });

std::vector<int32_t> g_video_centres;

bool near(int32_t colour, int32_t expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs((colour >> shift & 255) - (expected >> shift & 255)) > 40) return false;
    }
    return true;
}

// The red-then-green clip is drawn into the game's screen and shown scaled like any frame.
TEST_F(LetterboxTest, AVideoIsShownScaledLikeEveryFrame) {
    set_screen(640, 480, 1);
    set_video_frame_observer([] { g_video_centres.push_back(get_pixel(320, 240)); });
    const std::string clip = VEXEL_SOURCE_DIR "/tests/data/video_red_green.webm";
    EXPECT_EQ(play_video(DynString(clip.c_str()), 0), 0);
    set_video_frame_observer(nullptr);
    ASSERT_GE(g_video_centres.size(), 10u);
    EXPECT_TRUE(near(g_video_centres.front(), kRed)) << std::hex << g_video_centres.front();
    EXPECT_TRUE(near(g_video_centres.back(), kGreen)) << std::hex << g_video_centres.back();
    const Picture shown = displayed();
    EXPECT_TRUE(near(colour_at(shown, 640, 512), kGreen));
    EXPECT_TRUE(near(colour_at(shown, 2, kBar + 2), kGreen)) << "the clip fills the game's screen";
    EXPECT_EQ(colour_at(shown, 640, kBar - 1), 0);
}

// A driver older than OpenGL 3.0, without framebuffer objects of that kind or blits: full screen
// then covers the desktop at its size, which the game gets as its own until it leaves.
class OldDriverLetterboxTest : public LetterboxTest {
protected:
    void before_start(const testing::ScopedTempDir&) override {
        setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
        setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_framebuffer_object -GL_EXT_framebuffer_blit", 1);
    }
};

TEST_F(OldDriverLetterboxTest, WithoutBlitsTheGameGetsTheDesktopsSize) {
    ASSERT_EQ(platform::gl_offered_proc_address("glBlitFramebuffer"), nullptr);
    set_screen(640, 480, 1);
    EXPECT_EQ(is_fullscreen_mode(), 1);
    EXPECT_FALSE(gl().letterbox.active());
    EXPECT_EQ(gl().width, kDisplayW);
    EXPECT_EQ(gl().height, kDisplayH);
    EXPECT_EQ(engine_->log().find("shown scaled"), std::string::npos);
    draw_rect(kDisplayW - 1, 0, 1, 1, kBlue);
    EXPECT_EQ(testing::read_pixel(kDisplayW - 1, kDisplayH - 1), kBlue);
    set_screen(640, 480, 0);
    EXPECT_EQ(gl().width, 640);
    EXPECT_EQ(gl().height, 480);
}

}  // namespace
}  // namespace vexel
