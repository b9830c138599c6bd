#include "platform/frame_capture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <vexel/frame.h>
#include <vexel/offscreen.h>
#include <vexel/window.h>

#include "image/image_buffer.h"
#include "image/image_decoders.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using platform::parse_capture_list;
using testing::HeadlessEngine;
using testing::ScopedTempDir;

TEST(FrameCaptureList, ReadsFramesAndFilesInOrder) {
    const platform::CaptureList list = parse_capture_list("2:a.png, 70:/tmp/x:y.png ,2:b.png");
    ASSERT_EQ(list.requests.size(), 3u);
    EXPECT_EQ(list.requests[0].frame, 2);
    EXPECT_EQ(list.requests[0].file, "a.png");
    EXPECT_EQ(list.requests[1].frame, 70);
    EXPECT_EQ(list.requests[1].file, "/tmp/x:y.png");  // only the first colon separates
    EXPECT_EQ(list.requests[2].file, "b.png");
    EXPECT_TRUE(list.bad_items.empty());
}

TEST(FrameCaptureList, ItemsThatAreNotFrameAndFileAreSetAside) {
    const platform::CaptureList list = parse_capture_list(
        "a.png,0:zero.png,-3:neg.png,5:,:f.png,3x:f.png,99999999999:f.png,,4:ok");
    ASSERT_EQ(list.requests.size(), 1u);
    EXPECT_EQ(list.requests[0].frame, 4);
    EXPECT_EQ(list.requests[0].file, "ok");
    ASSERT_EQ(list.bad_items.size(), 7u);
    EXPECT_EQ(list.bad_items[0], "a.png");
    EXPECT_EQ(list.bad_items[6], "99999999999:f.png");
    EXPECT_TRUE(parse_capture_list("").requests.empty());
    EXPECT_TRUE(parse_capture_list(" , ,").bad_items.empty());
}

// Red over the top half of the window, blue below: a capture must keep the top at the top.
void draw_halves() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, gl->height / 2, gl->width, gl->height - gl->height / 2);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

int32_t colour_at(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return p[0] + p[1] * 256 + p[2] * 65536;
}

TEST(FrameCapture, SavesTheBackBufferOfTheNamedFramesOnly) {
    std::string shot;
    std::string twice;
    HeadlessEngine engine(nullptr, 1, [&](const ScopedTempDir& temp) {
        shot = temp.file("shot.png");
        twice = temp.file("twice.png");
        const std::string list = "2:" + shot + ",2:" + twice;
        setenv("VEXEL_CAPTURE", list.c_str(), 1);
        setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    });
    ASSERT_TRUE(engine.has_window());
    testing::LeakCheckPause pause;  // the driver keeps the code it builds for clears and reads
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();

    set_clear_colour(0x00FF00);
    platform::present_frame(nullptr, 1);
    EXPECT_TRUE(testing::read_file(shot).empty()) << "frame 1 is not named";

    draw_halves();
    platform::present_frame(nullptr, 2);
    ImageBuffer picture;
    ASSERT_TRUE(decode_png(shot.c_str(), -1, picture));
    ASSERT_EQ(picture.width(), gl->width);
    ASSERT_EQ(picture.height(), gl->height);
    EXPECT_EQ(colour_at(picture, 0, 0), 0x0000FF);
    EXPECT_EQ(colour_at(picture, gl->width - 1, gl->height / 2 - 1), 0x0000FF);
    EXPECT_EQ(colour_at(picture, 0, gl->height - 1), 0xFF0000);
    EXPECT_EQ(picture.pixel(3, 3)[3], 255);
    ImageBuffer second;
    ASSERT_TRUE(decode_png(twice.c_str(), -1, second));
    EXPECT_EQ(colour_at(second, 0, gl->height - 1), 0xFF0000);

    // The present cleared to green after the swap; a later unnamed frame leaves the file alone.
    draw_halves();
    std::remove(shot.c_str());
    platform::present_frame(nullptr, 3);
    EXPECT_TRUE(testing::read_file(shot).empty());
    EXPECT_EQ(engine.log().find("Capture"), std::string::npos) << engine.log();
}

TEST(FrameCapture, PresentsOutsideTheFrameLoopAreNeverCaptured) {
    std::string shot;
    HeadlessEngine engine(nullptr, 1, [&](const ScopedTempDir& temp) {
        shot = temp.file("start.png");
        setenv("VEXEL_CAPTURE", ("1:" + shot).c_str(), 1);
    });
    ASSERT_TRUE(engine.has_window());
    platform::present_frame(nullptr);
    EXPECT_TRUE(testing::read_file(shot).empty());
    show_screen();  // the frame loop's first present
    EXPECT_FALSE(testing::read_file(shot).empty());
}

// A frame that ends while an offscreen surface is the target shows the window, so that is what
// the capture holds. (Without framebuffer objects surfaces are drawn on the back buffer itself.)
TEST(FrameCapture, AnOpenOffscreenSurfaceIsClosedBeforeTheCapture) {
    std::string shot;
    HeadlessEngine engine(nullptr, 1, [&](const ScopedTempDir& temp) {
        shot = temp.file("window.png");
        setenv("VEXEL_CAPTURE", ("1:" + shot).c_str(), 1);
        setenv("VEXEL_NO_FBO", "0", 1);
    });
    ASSERT_TRUE(engine.has_window());
    testing::LeakCheckPause pause;  // the driver keeps the code it builds for clears and reads
    draw_halves();
    create_offscreen(1, 5, 64, 64);
    use_offscreen(1);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    platform::present_frame(nullptr, 1);
    ImageBuffer picture;
    ASSERT_TRUE(decode_png(shot.c_str(), -1, picture));
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    ASSERT_EQ(picture.width(), gl->width);
    EXPECT_EQ(colour_at(picture, 0, 0), 0x0000FF);  // red, R + G*256 + B*65536
    EXPECT_EQ(colour_at(picture, 0, gl->height - 1), 0xFF0000);
}

TEST(FrameCapture, BadItemsAndUnwritableFilesAreLogged) {
    HeadlessEngine engine(nullptr, 1, [&](const ScopedTempDir& temp) {
        const std::string list = "nonsense,1:" + temp.file("no/such/folder/x.png");
        setenv("VEXEL_CAPTURE", list.c_str(), 1);
    });
    ASSERT_TRUE(engine.has_window());
    platform::present_frame(nullptr, 1);
    const std::string log = engine.log();
    EXPECT_NE(log.find("Capture item ignored: nonsense\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Capture not written: "), std::string::npos) << log;
    EXPECT_NE(log.find("no/such/folder/x.png\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace vexel
