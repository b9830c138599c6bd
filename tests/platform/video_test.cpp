#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/video.h"

namespace vexel {
namespace {

constexpr char kFallbackLine[] =
    "vexel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running head-less\n";

TEST(Video, FallingBackToHeadlessForWantOfADisplayIsSaidOnceOnStandardError) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("VEXEL_VIDEO");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(platform::video_init());
    EXPECT_TRUE(platform::video_is_headless());
    platform::video_shutdown();
    ASSERT_TRUE(platform::video_init());
    platform::video_shutdown();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), kFallbackLine);
}

TEST(Video, HeadlessAskedForIsNotReported) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("VEXEL_VIDEO", "offscreen", 1);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(platform::video_init());
    platform::video_shutdown();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace vexel
