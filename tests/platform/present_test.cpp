#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <vexel/frame.h>
#include <vexel/window.h>

#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "platform/render_hooks.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using platform::next_frame_after;
using testing::HeadlessEngine;

TEST(Present, TheScheduleAdvancesByWholePeriods) {
    // On time or early: one period on.
    EXPECT_EQ(next_frame_after(100, 99, 20), 120);
    EXPECT_EQ(next_frame_after(100, 120, 20), 120);
    // Late by up to one period: the frame that was missed is skipped, the rhythm stays.
    EXPECT_EQ(next_frame_after(100, 121, 20), 140);
    EXPECT_EQ(next_frame_after(100, 140, 20), 140);
    // Later still: the schedule restarts from the present.
    EXPECT_EQ(next_frame_after(100, 140.5, 20), 160.5);
    EXPECT_EQ(next_frame_after(100, 500, 2), 502);
}

std::vector<std::string> g_calls;
void end_offscreen() {
    g_calls.push_back("end_offscreen");
}
bool has_background() {
    return true;
}
void draw_background() {
    g_calls.push_back("draw_background");
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

TEST(Present, ClearsWithTheClearColourAfterTheSwap) {
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    HeadlessEngine engine;
    set_clear_colour(0x00FF00);  // green
    platform::present_frame(nullptr);
    EXPECT_EQ(testing::read_pixel(10, 10), 0x00FF00);
    EXPECT_TRUE(platform::opengl_duderedi()->clear_each_frame);
    set_clear_colour(0x123456);
    platform::present_frame(nullptr);
    EXPECT_EQ(testing::read_pixel(10, 10), 0x123456);
    set_clear_colour(-1);
    EXPECT_FALSE(platform::opengl_duderedi()->clear_each_frame);
}

TEST(Present, ABackgroundPictureReplacesTheClear) {
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    HeadlessEngine engine;
    platform::RenderHooks& hooks = platform::render_hooks();
    hooks.end_offscreen = end_offscreen;
    hooks.has_background = has_background;
    hooks.draw_background = draw_background;
    platform::opengl_duderedi()->depth_clear_pending = true;
    set_clear_colour(0x00FF00);
    g_calls.clear();
    platform::present_frame(nullptr);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"end_offscreen", "draw_background"}));
    EXPECT_EQ(testing::read_pixel(10, 10), 0xFF0000);
    EXPECT_FALSE(platform::opengl_duderedi()->depth_clear_pending);
}

TEST(Present, AFixedClockPresentNeverWaits) {
    setenv("VEXEL_FIXED_FRAME_MS", "1000", 1);
    HeadlessEngine engine;
    limit_fps(1);
    const double before = timer_ms();
    platform::present_frame(nullptr);
    EXPECT_EQ(timer_ms(), before + 1000);
}

}  // namespace
}  // namespace vexel
