#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/window.h>

#include "app/frame_loop.h"
#include "input/input_state.h"
#include "platform/event_injection.h"
#include "platform/keyboard.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"
#include "platform/video.h"
#include "platform/window.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using testing::HeadlessEngine;
using ::testing::Not;

constexpr int32_t kEscape = 1;
constexpr int32_t kLeftAlt = 56;
constexpr int32_t kF4 = 62;
constexpr int32_t kKeyA = 30;

std::string title() {
    return platform::window_title(platform::opengl_duderedi()->window);
}

size_t count_of(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int g_pauses = 0;
int g_resumes = 0;
std::string g_title_in_pause;
double on_pause() {
    ++g_pauses;
    g_title_in_pause = title();
    return 0;
}
double on_resume() {
    return ++g_resumes;
}
const CallbackEntry kPauseTable[] = {
    {on_pause, "VXL_ON_PAUSE"}, {on_resume, "VXL_ON_RESUME"}, {nullptr, nullptr}};

TEST(FrameLoop, FocusLossPausesOnceUntilTheWindowIsActiveAgain) {
    HeadlessEngine engine(kPauseTable);
    const uint32_t id = engine.window_id();
    const std::string caption = title();
    ::testing::internal::CaptureStdout();
    platform::inject_focus_lost(id);
    platform::inject_focus_lost(id);
    show_screen();  // handles the focus loss: paused from here on
    EXPECT_EQ(is_paused(), 1);
    EXPECT_EQ(g_pauses, 1);
    EXPECT_EQ(g_title_in_pause, caption + " <pause>");

    std::thread reactivate([id] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        platform::inject_focus_gained(id);
    });
    show_screen();  // holds in the pause loop until the focus comes back
    reactivate.join();
    const std::string out = ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(g_pauses, 1);
    EXPECT_EQ(g_resumes, 1);
    EXPECT_EQ(title(), caption);
    EXPECT_EQ(count_of(out, "pause loop in showscreen/hibernate\n"), 1u);
    EXPECT_EQ(count_of(out, "pause loop ended\n"), 1u);
    EXPECT_LT(out.find("pause loop in showscreen/hibernate"), out.find("pause loop ended"));
}

TEST(FrameLoop, FocusChangesAreIgnoredInDebugMode) {
    project_settings().debug_mode = 1;
    HeadlessEngine engine(kPauseTable);
    const std::string caption = title();
    platform::inject_focus_lost(engine.window_id());
    show_screen();
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(g_pauses, 0);
    EXPECT_EQ(title(), caption);
}

TEST(FrameLoop, FocusLossWithoutAutopauseKeepsRunning) {
    HeadlessEngine engine(kPauseTable);
    set_autopause(0);
    platform::inject_focus_lost(engine.window_id());
    show_screen();
    show_screen();
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(g_pauses, 0);
}

// Runs the statement in a child with an engine and checks it ends through end_program.
#define EXPECT_ENDS_PROGRAM(statement)                                                        \
    do {                                                                                      \
        testing::ScopedTempDir temp;                                                          \
        ::testing::internal::CaptureStdout();                                                 \
        EXPECT_EXIT(                                                                          \
            {                                                                                 \
                testing::init_engine_headless(1, "caption");                                  \
                const uint32_t id = platform::window_id(platform::opengl_duderedi()->window); \
                (void)id;                                                                     \
                statement;                                                                    \
                std::fprintf(stderr, "still running\n");                                      \
                std::exit(3);                                                                 \
            },                                                                                \
            ::testing::ExitedWithCode(0), Not(HasSubstr("still running")));                   \
        EXPECT_THAT(::testing::internal::GetCapturedStdout(), EndsWith("exit\n"));            \
        EXPECT_THAT(testing::read_file(temp.file("ErrorLog.txt")),                            \
                    EndsWith("vxl is shut down\n"));                                          \
    } while (0)

TEST(FrameLoop, EscapeEndsTheProgramAtTheNextPresent) {
    EXPECT_ENDS_PROGRAM({
        platform::inject_key(id, kEscape, true);
        show_screen();  // the key event arrives while this frame is shown
        show_screen();
    });
}

TEST(FrameLoop, KeyCode129EndsTheProgramLikeEscape) {
    EXPECT_ENDS_PROGRAM({
        platform::inject_key(id, 129, true);
        show_screen();
    });
}

TEST(FrameLoop, AltF4EndsTheProgramEvenWhenEscapeDoesNot) {
    EXPECT_ENDS_PROGRAM({
        set_escape_quits(0);
        platform::inject_key(id, kEscape, true);
        platform::inject_key(id, 129, true);
        for (int i = 0; i < 3; ++i)
            show_screen();
        std::fprintf(stderr, "escape ignored\n");
        platform::inject_key(id, kLeftAlt, true);
        platform::inject_key(id, kF4, true);
        show_screen();
        show_screen();
    });
}

TEST(FrameLoop, EscapeWithEscapeQuitsOffKeepsRunning) {
    HeadlessEngine engine;
    set_escape_quits(0);
    platform::inject_key(engine.window_id(), kEscape, true);
    platform::inject_key(engine.window_id(), kLeftAlt, true);  // Alt alone is no quit key
    for (int i = 0; i < 3; ++i)
        show_screen();
    EXPECT_TRUE(platform::keyboard_key_down(kEscape));
    EXPECT_EQ(get_escape_quits(), 0);
}

TEST(FrameLoop, ACloseRequestEndsTheProgram) {
    EXPECT_ENDS_PROGRAM({
        platform::inject_close_request(id);
        show_screen();
    });
}

TEST(FrameLoop, EscapeDuringTheIdleWaitEndsTheProgram) {
    EXPECT_ENDS_PROGRAM({
        platform::inject_key(id, kEscape, true);
        idle_wait();
    });
}

TEST(FrameLoop, MaxFramesEndsTheProgramAfterThatManyPresents) {
    setenv("VEXEL_MAX_FRAMES", "3", 1);
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    testing::ScopedTempDir temp;
    EXPECT_EXIT(
        {
            testing::init_engine_headless(1, "caption");
            for (int i = 1; i <= 10; ++i) {
                show_screen();
                std::fprintf(stderr, "after %d\n", i);
            }
        },
        ::testing::ExitedWithCode(0),
        ::testing::AllOf(HasSubstr("after 2\n"), Not(HasSubstr("after 3"))));
}

TEST(FrameLoop, EscapeQuitsFlagTakesAnyNonZeroNumber) {
    EXPECT_EQ(get_escape_quits(), 1);
    set_escape_quits(0);
    EXPECT_EQ(get_escape_quits(), 0);
    set_escape_quits(-0.5);
    EXPECT_EQ(get_escape_quits(), 1);
    set_escape_quits(0);
    set_escape_quits(std::nan(""));
    EXPECT_EQ(get_escape_quits(), 1);
}

TEST(FrameLoop, TwoPresentsAtOneTimerValueGiveAFrameTimeOfOne) {
    setenv("VEXEL_FIXED_FRAME_MS", "0", 1);
    HeadlessEngine engine;
    show_screen();
    show_screen();
    EXPECT_EQ(timer_ms(), 0);
    EXPECT_EQ(get_frame_time(), 1);
}

TEST(FrameLoop, FixedFrameStepAdvancesTheClockByExactlyOneStepPerPresent) {
    setenv("VEXEL_FIXED_FRAME_MS", "16", 1);
    HeadlessEngine engine;
    EXPECT_EQ(timer_since_start(), 0);
    show_screen();  // the first frame starts where start-up ended
    EXPECT_EQ(get_frame_time(), 1);
    const double start = timer_since_start();
    for (int i = 0; i < 5; ++i) {
        show_screen();
        EXPECT_EQ(get_frame_time(), 16);
    }
    EXPECT_EQ(timer_since_start() - start, 5 * 16);
}

TEST(FrameLoop, TheLimiterHoldsFramesApartByThePeriod) {
    HeadlessEngine engine;
    limit_fps(50);
    show_screen();
    const double start = timer_ms();
    for (int i = 0; i < 5; ++i)
        show_screen();
    // Five periods of 20 ms. The clock is read after the first present returns, and a loaded
    // machine may keep the test waiting there for a while: allow one period of that.
    EXPECT_GE(timer_ms() - start, 4 * 20 - 5);
}

TEST(FrameLoop, WithoutAWindowTheLimiterStillKeepsTheFrameRate) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);  // the window cannot be made
    HeadlessEngine engine;
    ASSERT_FALSE(engine.has_window());
    limit_fps(50);
    show_screen();
    const double start = timer_ms();
    for (int i = 0; i < 5; ++i)
        show_screen();
    EXPECT_GE(timer_ms() - start, 4 * 20 - 5);
}

TEST(FrameLoop, IdleWaitWithoutInputTakesFifteenShortPasses) {
    HeadlessEngine engine;
    const double start = timer_ms();
    idle_wait();
    EXPECT_GE(timer_ms() - start, 15 * 5);
}

TEST(FrameLoop, IdleWaitReturnsAtOnceWhileAKeyIsDown) {
    HeadlessEngine engine;
    platform::inject_key(engine.window_id(), kKeyA, true);
    const double start = timer_ms();
    idle_wait();
    EXPECT_LT(timer_ms() - start, 15 * 5);
    EXPECT_TRUE(platform::keyboard_key_down(kKeyA));
}

std::vector<size_t> g_typed_seen_by_hook;
double message_hook() {
    g_typed_seen_by_hook.push_back(input_state()->typed_chars.size());
    return 0;
}
const CallbackEntry kHookTable[] = {{message_hook, "VXL_WIN32_MSG"}, {nullptr, nullptr}};

TEST(FrameLoop, TheMessageHookRunsBeforeEachEventIsHandledAndIsLookedUpOnce) {
    HeadlessEngine engine(kHookTable);
    show_screen();  // events of start-up
    g_typed_seen_by_hook.clear();
    set_callback_table(nullptr);  // the hook found at the first present stays in use

    platform::inject_text(engine.window_id(), "a");
    platform::inject_text(engine.window_id(), "b");
    show_screen();
    ASSERT_GE(g_typed_seen_by_hook.size(), 2u);
    EXPECT_EQ(g_typed_seen_by_hook[0], 0u);  // the first text event is still queued
    EXPECT_EQ(g_typed_seen_by_hook[1], 1u);  // the first is handled, the second is not
    EXPECT_EQ(input_state()->typed_chars.size(), 2u);
}

std::vector<int32_t> g_typed;
void record_typed(int32_t c) {
    g_typed.push_back(c);
}

TEST(FrameLoop, TypedCharactersReachTheQueueAsEightBitText) {
    HeadlessEngine engine;
    platform::render_hooks().char_typed = record_typed;
    platform::inject_text(engine.window_id(), "a\xE9");
    platform::inject_key(engine.window_id(), 28, true);  // Enter types a carriage return
    platform::inject_key(engine.window_id(), 28, false);
    show_screen();
    EXPECT_EQ(g_typed, (std::vector<int32_t>{'a', 0xE9, 13}));
}

TEST(FrameLoop, AReactivationRequestBringsTheWindowBackAtTheNextPresent) {
    HeadlessEngine engine;
    ::testing::internal::CaptureStdout();
    request_reactivation();
    show_screen();
    show_screen();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "activate\nok\n");
}

TEST(FrameLoop, DebugBreakDoesNothingWithoutADebugger) {
    HeadlessEngine engine(kPauseTable);
    set_paused(1);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    debug_break(255);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(is_paused(), 1);
    set_paused(0);
    show_screen();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(FrameLoop, TheScreenSaverIsHeldOffWhileRunning) {
    // Left to itself, the video system would now leave the screen saver on.
    setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 1);
    HeadlessEngine engine;
    EXPECT_FALSE(platform::screen_saver_allowed());
}

TEST(FrameLoop, FullScreenAndBackKeepsTheCaptionAndTheContext) {
    HeadlessEngine engine;
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    const std::string caption = title();
    platform::NativeGlContext* context = gl->gl_context;

    testing::full_screen_640x480();
    EXPECT_EQ(is_fullscreen_mode(), 1);
    EXPECT_EQ(title(), caption);
    EXPECT_EQ(project_settings().fullscreen, 1);

    set_screen(640, 480, 0);
    EXPECT_EQ(is_fullscreen_mode(), 0);
    EXPECT_EQ(title(), caption);
    EXPECT_EQ(gl->gl_context, context);
    EXPECT_EQ(gl->width, 640);
    EXPECT_EQ(gl->height, 480);
    int32_t w = 0;
    int32_t h = 0;
    platform::window_size(gl->window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_TRUE(platform::window_is_visible(gl->window));
    // Back in the middle of the desktop's work area.
    double desktop_w = 0;
    double desktop_h = 0;
    get_desktop_size(desktop_w, desktop_h);
    int32_t x = 0;
    int32_t y = 0;
    platform::window_position(gl->window, &x, &y);
    EXPECT_EQ(x, (static_cast<int32_t>(desktop_w) - 640) / 2);
    EXPECT_EQ(y, (static_cast<int32_t>(desktop_h) - 480) / 2);
}

TEST(FrameLoop, SetScreenResizesTheWindowAndTheViewport) {
    HeadlessEngine engine;
    set_screen(320, 240, 0);
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    EXPECT_EQ(project_settings().width, 320);
    EXPECT_EQ(gl->width, 320);
    EXPECT_EQ(gl->height, 240);
    EXPECT_EQ(gl->viewport_width, 320);
    EXPECT_EQ(gl->viewport_height, 240);
    int32_t w = 0;
    int32_t h = 0;
    platform::window_size(gl->window, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
}

TEST(FrameLoop, HideWindowLeavesFullScreenAndHides) {
    HeadlessEngine engine;
    testing::full_screen_640x480();
    EXPECT_EQ(hide_window(), 1);
    EXPECT_EQ(is_fullscreen_mode(), 0);
    EXPECT_FALSE(platform::window_is_visible(platform::opengl_duderedi()->window));
}

}  // namespace
}  // namespace vexel
