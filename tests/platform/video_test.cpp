#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/video.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

// The GL library that video_init loads keeps what it allocates in its own globals, which the
// unloading at shutdown orphans; a driver outside our reach, so its start is not leak-checked.
bool start_video() {
    testing::LeakCheckPause pause;
    return platform::video_init();
}

constexpr char kFallbackLine[] =
    "vexel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running head-less\n";

TEST(Video, FallingBackToHeadlessForWantOfADisplayIsSaidOnceOnStandardError) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("VEXEL_VIDEO");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(start_video());
    EXPECT_TRUE(platform::video_is_headless());
    platform::video_shutdown();
    ASSERT_TRUE(start_video());
    platform::video_shutdown();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), kFallbackLine);
}

TEST(Video, HeadlessAskedForIsNotReported) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("VEXEL_VIDEO", "offscreen", 1);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(start_video());
    platform::video_shutdown();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace vexel
