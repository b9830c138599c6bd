#include <gtest/gtest.h>

#include <cstdlib>

#include <vexel/draw.h>
#include <vexel/error.h>
#include <vexel/frame.h>

#include "gfx2d/backgrounds.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/texture_store.h"
#include "image/image_encoders.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"

namespace vexel {
namespace {

using testing::gradient;
using testing::gradient_at;
using testing::screen_colour;

// The frame clock advances by exactly the given milliseconds per present, from before the engine
// starts.
struct FixedFrameClock {
    explicit FixedFrameClock(const char* ms) { setenv("VEXEL_FIXED_FRAME_MS", ms, 1); }
    ~FixedFrameClock() { unsetenv("VEXEL_FIXED_FRAME_MS"); }
};

class ScreenTransitionTest : public ::testing::Test {
protected:
    testing::LeakCheckPause pause_;
    FixedFrameClock clock_{"10"};
    testing::HeadlessEngine engine_;
};

TEST_F(ScreenTransitionTest, FadesForTheGivenTimeAndKeepsThePicture) {
    const std::string name = engine_.temp().file("next.png");
    ASSERT_TRUE(encode_png(name.c_str(), gradient(64, 64)));
    testing::fill_window(0, 0, 640, 480, 0x0000FF);
    const double before = timer_ms();
    screen_transition(name.c_str(), 50);
    EXPECT_EQ(last_error_code(), 0);
    // Five steps of the fixed 10 ms clock, each presented.
    EXPECT_DOUBLE_EQ(timer_ms() - before, 50);
    // The new picture is on the screen and stays as background 0; the scratch ones are gone.
    EXPECT_EQ(screen_colour(20, 30), gradient_at(20, 30));
    EXPECT_TRUE(has_screen_background());
    EXPECT_EQ(texture_store().background(1)->columns, 0);
    EXPECT_EQ(texture_store().background(2)->columns, 0);
    platform::present_frame(nullptr);
    EXPECT_EQ(screen_colour(20, 30), gradient_at(20, 30));
}

TEST_F(ScreenTransitionTest, MissingPictureClearsToBlack) {
    ASSERT_TRUE(load_background_file(0,
                                     [&] {
                                         const std::string name = engine_.temp().file("old.png");
                                         EXPECT_TRUE(encode_png(name.c_str(), gradient(8, 8)));
                                         return name;
                                     }()
                                         .c_str()));
    platform::opengl_duderedi()->set_clear_colour(0x00FF00);
    screen_transition(engine_.temp().file("missing.png").c_str(), 50);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_FALSE(has_screen_background());
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[1], 0);
    EXPECT_TRUE(platform::opengl_duderedi()->clear_each_frame);
}

class StillClockTransitionTest : public ::testing::Test {
protected:
    testing::LeakCheckPause pause_;
    FixedFrameClock clock_{"0"};
    testing::HeadlessEngine engine_;
};

TEST_F(StillClockTransitionTest, EndsAfterOneStepPerMillisecond) {
    const std::string name = engine_.temp().file("next.png");
    ASSERT_TRUE(encode_png(name.c_str(), gradient(16, 16)));
    const double before = timer_ms();
    screen_transition(name.c_str(), 30);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_DOUBLE_EQ(timer_ms(), before);
    EXPECT_TRUE(has_screen_background());
    EXPECT_EQ(screen_colour(5, 5), gradient_at(5, 5));
}

}  // namespace
}  // namespace vexel
