#include "sound/video_player.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/app.h>
#include <vexel/draw.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/music.h>
#include <vexel/window.h>

#include "gfx2d/draw_test_support.h"
#include "platform/event_injection.h"
#include "platform/opengl_duderedi.h"
#include "platform/window.h"
#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

const std::string kClip = VEXEL_SOURCE_DIR "/tests/data/video_red_green.webm";
// The 64 x 48 clip scaled by 8.33 becomes 533 x 400 at x = 83, with bars of 83 and 84.
constexpr int32_t kWidth = 700;
constexpr int32_t kHeight = 400;
constexpr int32_t kPictureLeft = 83;
constexpr int32_t kPictureRight = 615;
constexpr int32_t kBlue = 0xFF0000;

bool near(int32_t colour, int32_t expected, int32_t tolerance = 24) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs((colour >> shift & 255) - (expected >> shift & 255)) > tolerance) return false;
    }
    return true;
}

bool is_red(int32_t colour) {
    return near(colour, 0x0000FF, 40);
}
bool is_green(int32_t colour) {
    return near(colour, 0x00FF00, 40);
}

// What the user saw of each frame, read from the back buffer just before it was shown.
struct SeenFrame {
    int32_t centre, left_bar, right_bar, left_edge, right_edge, last_left_bar, first_right_bar;
};
std::vector<SeenFrame> g_seen;

void record_frame() {
    const int32_t y = kHeight / 2;
    g_seen.push_back({testing::read_pixel(kWidth / 2, y), testing::read_pixel(10, y),
                      testing::read_pixel(kWidth - 10, y), testing::read_pixel(kPictureLeft, y),
                      testing::read_pixel(kPictureRight, y),
                      testing::read_pixel(kPictureLeft - 1, y),
                      testing::read_pixel(kPictureRight + 1, y)});
}

// Red, then green, then red again: the clip went back to its start.
bool looped() {
    int phase = 0;
    for (const SeenFrame& frame : g_seen) {
        const bool red = is_red(frame.centre);
        if ((phase == 0 && red) || (phase == 1 && is_green(frame.centre)) || (phase == 2 && red))
            ++phase;
    }
    return phase == 3;
}

class VideoPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXEL_AUDIO", "null", 1);
        project_settings().width = kWidth;
        project_settings().height = kHeight;
        engine_ = std::make_unique<HeadlessEngine>();
        ASSERT_TRUE(engine_->has_window());
        g_seen.clear();
        set_video_frame_observer(record_frame);
    }
    void TearDown() override { set_video_frame_observer(nullptr); }

    testing::LeakCheckPause pause_;
    std::unique_ptr<HeadlessEngine> engine_;
};

TEST(VideoDestination, ScalesByTheSmallerRatioAndCentres) {
    struct Case {
        int32_t source_w, source_h, client_w, client_h;
        VideoRect expected;
    };
    const Case cases[] = {
        {64, 48, 640, 480, {0, 0, 640, 480}},       // same shape: the whole client area
        {64, 48, 800, 480, {80, 0, 640, 480}},      // wider window: bars left and right
        {64, 48, 700, 400, {83, 0, 533, 400}},      // a scale of 8.33: the width truncated
        {48, 64, 640, 480, {140, 0, 360, 480}},     // portrait picture
        {1920, 1080, 640, 480, {0, 60, 640, 360}},  // shrunk, bars above and below
        {0, 48, 640, 480, {}},                      // no picture
        {64, 48, 0, 480, {}},                       // no client area
    };
    for (const Case& c : cases) {
        EXPECT_EQ(video_destination(c.source_w, c.source_h, c.client_w, c.client_h), c.expected)
            << c.source_w << "x" << c.source_h << " in " << c.client_w << "x" << c.client_h;
    }
}

TEST_F(VideoPlayerTest, ClipShowsRedThenGreenCentredBetweenBarsOfTheClearColour) {
    set_clear_colour(kBlue);
    EXPECT_EQ(play_video(DynString(kClip.c_str()), 0), 0);
    ASSERT_GE(g_seen.size(), 10u);
    EXPECT_TRUE(is_red(g_seen.front().centre)) << std::hex << g_seen.front().centre;
    EXPECT_TRUE(is_green(g_seen.back().centre)) << std::hex << g_seen.back().centre;
    for (const SeenFrame& frame : g_seen) {
        EXPECT_EQ(frame.left_bar, kBlue);
        EXPECT_EQ(frame.right_bar, kBlue);
        EXPECT_EQ(frame.last_left_bar, kBlue);
        EXPECT_EQ(frame.first_right_bar, kBlue);
        EXPECT_NE(frame.left_edge, kBlue);
        EXPECT_NE(frame.right_edge, kBlue);
    }
}

// The engine's 2D state after the video: a sprite whose left half is transparent draws its right
// half pixel for pixel, and the alpha test keeps the left half off the screen.
void expect_half_transparent_sprite_drawn() {
    draw_sprite(3, 100, 50);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const int32_t pixel = testing::read_pixel(100 + x, kHeight - 1 - (50 + y));
            if (x >= 8) {
                EXPECT_EQ(pixel, testing::gradient_at(x, y)) << x << ", " << y;
            } else {
                EXPECT_NE(pixel, testing::gradient_at(x, y)) << x << ", " << y;
            }
        }
    }
}

TEST_F(VideoPlayerTest, TwoDDrawingAndTheClearColourCarryOnUnharmedAfterAVideo) {
    set_clear_colour(kBlue);
    set_smoothing(false);
    ImageBuffer picture = testing::gradient(16, 8);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            picture.pixel(x, y)[3] = 0;
    }
    ASSERT_TRUE(create_sprite(3, picture, false));
    show_screen();
    expect_half_transparent_sprite_drawn();
    ASSERT_EQ(play_video(DynString(kClip.c_str()), 0), 0);
    // Straight after the video, over its last frame, without a present in between.
    expect_half_transparent_sprite_drawn();
    show_screen();
    EXPECT_EQ(testing::read_pixel(kWidth / 2, 10), kBlue);
}

TEST_F(VideoPlayerTest, LoopingVideoRunsOnUntilAKeyOrAButtonIsPressed) {
    static uint32_t window = 0;
    static bool by_mouse = false;
    window = engine_->window_id();
    for (const bool mouse : {false, true}) {
        by_mouse = mouse;
        g_seen.clear();
        // Input arrives only once the clip has gone round at least once.
        set_video_frame_observer([] {
            record_frame();
            if (!looped()) return;
            if (by_mouse) {
                platform::inject_mouse_button(window, 0, true);
            } else {
                platform::inject_text(window, "x");
            }
        });
        EXPECT_EQ(play_video(DynString(kClip.c_str()), 1), 0);
        EXPECT_TRUE(looped()) << (mouse ? "mouse" : "key");
        if (mouse) platform::inject_mouse_button(window, 0, false);
        show_screen();
    }
}

TEST(VideoPlayerShutdown, ClosingTheWindowDuringAVideoEndsTheProgramCleanly) {
    setenv("VEXEL_AUDIO", "null", 1);
    testing::ScopedTempDir temp;
    EXPECT_EXIT(
        {
            testing::LeakCheckPause pause;
            testing::init_engine_headless(1, "caption");
            set_video_frame_observer([] {
                platform::inject_close_request(
                    platform::window_id(platform::opengl_duderedi()->window));
            });
            play_video(DynString(kClip.c_str()), 1);
            std::fprintf(stderr, "returned\n");
        },
        ::testing::ExitedWithCode(0), "^$");
    EXPECT_NE(testing::read_file(temp.file("ErrorLog.txt")).find("vxl is shut down"),
              std::string::npos);
}

TEST_F(VideoPlayerTest, MissingFileGivesThreeAndUnplayableFileGivesZeroAndOneLogLine) {
    EXPECT_EQ(play_video(DynString("no_such_clip.webm"), 0), 3);
    const std::string text = engine_->temp().file("not_a_clip.webm");
    testing::write_file(text, "this is text, not a video\n");
    EXPECT_EQ(play_video(DynString(text.c_str()), 1), 0);
    EXPECT_TRUE(g_seen.empty());
    const std::string log = engine_->log();
    const std::string line = "play_video: cannot load \"" + text + "\"";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line));
    EXPECT_EQ(log.find("no_such_clip"), std::string::npos);
}

}  // namespace
}  // namespace vexel
