#include <gtest/gtest.h>

#include <cstdlib>

#include <vexel/frame.h>

#include "platform/timer.h"

namespace vexel {
namespace {

TEST(Timer, StartsAtZeroAndNeverGoesBack) {
    unsetenv("VEXEL_FIXED_FRAME_MS");
    platform::timer_init();
    EXPECT_FALSE(platform::timer_is_fixed());
    EXPECT_EQ(timer_ms(), 0);
    double last = 0;
    for (int i = 0; i < 1000; ++i) {
        const double now = timer_ms();
        EXPECT_GE(now, last);
        last = now;
    }
}

TEST(Timer, FixedFrameStepMovesOnlyWithPresents) {
    setenv("VEXEL_FIXED_FRAME_MS", "16.5", 1);
    platform::timer_init();
    ASSERT_TRUE(platform::timer_is_fixed());
    EXPECT_EQ(timer_ms(), 0);
    EXPECT_EQ(timer_ms(), 0);
    platform::timer_advance_frame();
    EXPECT_EQ(timer_ms(), 16.5);
    platform::timer_advance_frame();
    EXPECT_EQ(timer_ms(), 33);
}

TEST(Timer, MalformedFixedFrameStepsAreIgnored) {
    for (const char* text : {"", "abc", "-1", "16ms", "nan", "inf"}) {
        setenv("VEXEL_FIXED_FRAME_MS", text, 1);
        platform::timer_init();
        EXPECT_FALSE(platform::timer_is_fixed()) << text;
    }
    setenv("VEXEL_FIXED_FRAME_MS", "0", 1);
    platform::timer_init();
    EXPECT_TRUE(platform::timer_is_fixed());
}

TEST(Timer, FrameTimeIsNeverZero) {
    platform::FrameClock& clock = platform::frame_clock();
    clock.previous_frame_time = clock.frame_time = 500;
    EXPECT_EQ(get_frame_time(), 1);
    clock.frame_time = 490;
    EXPECT_EQ(get_frame_time(), 1);
    clock.frame_time = 516.75;
    EXPECT_EQ(get_frame_time(), 16.75);
}

TEST(Timer, StampingSetsAllThreeFrameTimes) {
    setenv("VEXEL_FIXED_FRAME_MS", "10", 1);
    platform::timer_init();
    platform::timer_advance_frame();
    platform::stamp_frame_clock();
    const platform::FrameClock& clock = platform::frame_clock();
    EXPECT_EQ(clock.frame_time, 10);
    EXPECT_EQ(clock.previous_frame_time, 10);
    EXPECT_EQ(clock.start_time, 10);
    platform::timer_advance_frame();
    EXPECT_EQ(timer_since_start(), 10);
}

}  // namespace
}  // namespace vexel
