#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vexel/frame.h>
#include <vexel/window.h>

#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/window.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

// A head-less window made at 640 x 480 keeps that size for the script but can grow to the
// desktop's and still draw into every pixel: the driver's surface never grows after creation.
TEST(HeadlessWindow, FullScreenAtTheDesktopSizeDrawsIntoTheWholeScreen) {
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    HeadlessEngine engine;
    ASSERT_TRUE(engine.has_window());
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    int32_t w = 0;
    int32_t h = 0;
    platform::window_size(gl->window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    double desktop_w = 0;
    double desktop_h = 0;
    get_desktop_size(desktop_w, desktop_h);
    if (desktop_w <= 640 && desktop_h <= 480) GTEST_SKIP() << "desktop no larger than the window";
    set_screen(static_cast<int32_t>(desktop_w), static_cast<int32_t>(desktop_h), 1);
    platform::window_size(gl->window, &w, &h);
    EXPECT_EQ(w, static_cast<int32_t>(desktop_w));
    EXPECT_EQ(h, static_cast<int32_t>(desktop_h));

    set_clear_colour(0x3366CC);
    platform::present_frame(nullptr);
    EXPECT_EQ(testing::read_pixel(0, 0), 0x3366CC);
    EXPECT_EQ(testing::read_pixel(w - 1, h - 1), 0x3366CC);
    EXPECT_EQ(testing::read_pixel(w - 1, 0), 0x3366CC);
    EXPECT_EQ(testing::read_pixel(0, h - 1), 0x3366CC);
}

}  // namespace
}  // namespace vexel
