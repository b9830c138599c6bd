#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <thread>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "app/subsystem_hooks.h"
#include "input/input_state.h"
#include "platform/event_injection.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

struct MouseNow {
    int32_t x = 0, y = 0, b1 = 0, b2 = 0;
};

MouseNow state() {
    MouseNow m;
    mouse_state(m.x, m.y, m.b1, m.b2);
    return m;
}

void move_to(uint32_t window, int32_t x, int32_t y, int32_t dx, int32_t dy) {
    platform::inject_mouse_move(window, x, y, dx, dy);
    platform::pump_messages(nullptr);
}

TEST(Mouse, OneMouseAlwaysSelected) {
    HeadlessEngine engine;
    EXPECT_EQ(mouse_count(), 1);
    select_mouse(3);
    EXPECT_EQ(input_state()->current_mouse, 0);
    select_mouse(-2);
    EXPECT_EQ(input_state()->current_mouse, 0);
}

TEST(Mouse, TwoWheelNotchesBetweenSamplesCountAsOneAndTheNextPresentClearsThem) {
    HeadlessEngine engine;
    show_screen();
    platform::inject_wheel(engine.window_id(), 1);
    platform::inject_wheel(engine.window_id(), 1);
    platform::pump_messages(nullptr);
    EXPECT_EQ(mouse_axis(2), 1);
    EXPECT_EQ(mouse_axis(2), 1);  // the count stays until a consuming sample
    platform::inject_wheel(engine.window_id(), 1);
    platform::pump_messages(nullptr);
    EXPECT_EQ(mouse_axis(2), 2);  // a step per sample
    show_screen();
    EXPECT_EQ(mouse_axis(2), 0);
    platform::inject_wheel(engine.window_id(), -3);
    platform::pump_messages(nullptr);
    EXPECT_EQ(mouse_axis(2), -1);
}

TEST(Mouse, MotionReadsZeroAfterAPresentUntilThePointerMoves) {
    HeadlessEngine engine;
    move_to(engine.window_id(), 100, 100, 0, 0);
    show_screen();
    EXPECT_EQ(mouse_axis(0), 0);
    EXPECT_EQ(mouse_axis(1), 0);
    move_to(engine.window_id(), 107, 95, 7, -5);
    EXPECT_EQ(mouse_axis(0), 7);
    EXPECT_EQ(mouse_axis(1), -5);
    EXPECT_EQ(mouse_axis(0), 7);  // counted from the last present
    show_screen();
    EXPECT_EQ(mouse_axis(0), 0);
    EXPECT_EQ(mouse_axis(1), 0);
    EXPECT_EQ(mouse_axis(6), 0);
    EXPECT_EQ(mouse_axis(-1), 0);
}

TEST(Mouse, ButtonsAreReportedWhileHeld) {
    HeadlessEngine engine;
    platform::inject_mouse_button(engine.window_id(), 0, true);
    platform::inject_mouse_button(engine.window_id(), 2, true);
    platform::pump_messages(nullptr);
    EXPECT_EQ(mouse_axis(3), 1);
    EXPECT_EQ(mouse_axis(4), 0);
    EXPECT_EQ(mouse_axis(5), 1);
    MouseNow m = state();
    EXPECT_EQ(m.b1, 1);
    EXPECT_EQ(m.b2, 0);
    platform::inject_mouse_button(engine.window_id(), 0, false);
    platform::inject_mouse_button(engine.window_id(), 1, true);
    platform::pump_messages(nullptr);
    m = state();
    EXPECT_EQ(m.b1, 0);
    EXPECT_EQ(m.b2, 1);
}

TEST(Mouse, MouseStateNeverReportsAPositionBeyondTheScreen) {
    HeadlessEngine engine;
    for (int32_t turn = 0; turn < 4; ++turn) {
        platform::opengl_duderedi()->orientation = turn;
        const int32_t w = turn % 2 ? kHeight : kWidth;
        const int32_t h = turn % 2 ? kWidth : kHeight;
        for (const auto& [x, y] : {std::pair{5000, 5000}, std::pair{-50, -70}, std::pair{639, 0},
                                   std::pair{kWidth, kHeight}, std::pair{0, 9999}}) {
            move_to(engine.window_id(), x, y, 0, 0);
            const MouseNow m = state();
            EXPECT_GE(m.x, 0) << turn;
            EXPECT_GE(m.y, 0) << turn;
            EXPECT_LT(m.x, w) << turn << " " << x;
            EXPECT_LT(m.y, h) << turn << " " << y;
        }
    }
}

TEST(Mouse, PositionsAndMotionTurnWithTheScreen) {
    HeadlessEngine engine;
    struct Expected {
        int32_t x, y, dx, dy;
    };
    // The pointer goes from window (100, 50) to (110, 50).
    const Expected expected[4] = {
        {110, 50, 10, 0},
        {50, kWidth - 1 - 110, 0, -10},
        {kWidth - 1 - 110, kHeight - 1 - 50, -10, 0},
        {kHeight - 1 - 50, 110, 0, 10},
    };
    for (int32_t turn = 0; turn < 4; ++turn) {
        platform::opengl_duderedi()->orientation = turn;
        move_to(engine.window_id(), 100, 50, 0, 0);
        state();
        move_to(engine.window_id(), 110, 50, 10, 0);
        EXPECT_EQ(mouse_axis(0), expected[turn].dx) << turn;
        EXPECT_EQ(mouse_axis(1), expected[turn].dy) << turn;
        const MouseNow m = state();
        EXPECT_EQ(m.x, expected[turn].x) << turn;
        EXPECT_EQ(m.y, expected[turn].y) << turn;
    }
}

TEST(Mouse, SetMousePositionMovesTheEnginesPositionNotTheCursor) {
    HeadlessEngine engine;
    move_to(engine.window_id(), 300, 200, 0, 0);
    show_screen();
    set_mouse_position(20, 30);
    const MouseRecord& record = input_state()->mouse_records[0];
    EXPECT_EQ(record.last_x, 20);
    EXPECT_EQ(record.last_y, 30);
    // The shown pointer is still at (300, 200): the next sample sees it as motion.
    EXPECT_EQ(mouse_axis(0), 280);
    EXPECT_EQ(mouse_axis(1), 170);

    platform::opengl_duderedi()->orientation = 2;
    set_mouse_position(0, 0);
    EXPECT_EQ(record.last_x, kWidth - 1);
    EXPECT_EQ(record.last_y, kHeight - 1);
}

TEST(Mouse, TheHiddenPointerMovesTheEnginesCursorByMotionWithinTheWindow) {
    HeadlessEngine engine;
    show_system_pointer(0);
    EXPECT_FALSE(input_state()->pointer_visible);
    set_mouse_position(100, 100);
    // The absolute position of the event does not matter any more, only the motion.
    move_to(engine.window_id(), 0, 0, 15, -20);
    EXPECT_EQ(mouse_axis(0), 15);
    EXPECT_EQ(mouse_axis(1), -20);
    MouseNow m = state();
    EXPECT_EQ(m.x, 115);
    EXPECT_EQ(m.y, 80);

    move_to(engine.window_id(), 0, 0, -1000, -1000);
    m = state();
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    move_to(engine.window_id(), 0, 0, 100000, 100000);
    m = state();
    EXPECT_EQ(m.x, kWidth - 1);
    EXPECT_EQ(m.y, kHeight - 1);

    // Shown again, the pointer is read as a position once more.
    show_system_pointer(1);
    EXPECT_TRUE(input_state()->pointer_visible);
    move_to(engine.window_id(), 40, 60, 0, 0);
    m = state();
    EXPECT_EQ(m.x, 40);
    EXPECT_EQ(m.y, 60);
}

TEST(Mouse, AnExclusiveMouseStartsHidden) {
    project_settings().exclusive_mouse = 1;
    HeadlessEngine engine;
    EXPECT_FALSE(input_state()->pointer_visible);
    // Hidden, the mouse is read as motion from the start.
    set_mouse_position(10, 10);
    move_to(engine.window_id(), 600, 400, 3, 4);
    const MouseNow m = state();
    EXPECT_EQ(m.x, 13);
    EXPECT_EQ(m.y, 14);
}

TEST(Mouse, ExtremePositionsStayUsable) {
    HeadlessEngine engine;
    for (int32_t turn = 0; turn < 4; ++turn) {
        platform::opengl_duderedi()->orientation = turn;
        for (const int32_t value : {INT32_MIN, INT32_MAX}) {
            set_mouse_position(value, value);
            const int32_t dx = mouse_axis(0);
            EXPECT_NE(dx, 0);
            const MouseNow m = state();
            EXPECT_GE(m.x, 0);
            EXPECT_GE(m.y, 0);
        }
    }
}

TEST(Mouse, TheIdleWaitSeesPointerAndButtonChanges) {
    HeadlessEngine engine;
    move_to(engine.window_id(), 30, 40, 0, 0);
    const hooks::PointerSnapshot before = hooks::read_pointer();
    EXPECT_EQ(before.x, 30);
    EXPECT_EQ(before.y, 40);
    EXPECT_EQ(hooks::read_pointer(), before);  // reading does not move it
    move_to(engine.window_id(), 31, 40, 1, 0);
    EXPECT_EQ(hooks::read_pointer().x, 31);
    platform::inject_mouse_button(engine.window_id(), 1, true);
    platform::pump_messages(nullptr);
    const hooks::PointerSnapshot pressed = hooks::read_pointer();
    EXPECT_FALSE(pressed.left);
    EXPECT_TRUE(pressed.right);
}

TEST(Mouse, ASharedMouseStartsShown) {
    HeadlessEngine engine;
    EXPECT_TRUE(input_state()->pointer_visible);
}

TEST(Mouse, WaitMouseReturnsAfterAClick) {
    HeadlessEngine engine;
    const uint32_t window = engine.window_id();
    std::thread clicker([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        platform::inject_mouse_button(window, 0, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        platform::inject_mouse_button(window, 0, false);
    });
    const auto start = std::chrono::steady_clock::now();
    wait_mouse();
    const auto waited = std::chrono::steady_clock::now() - start;
    clicker.join();
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_EQ(mouse_axis(3), 0);
}

TEST(Mouse, WithoutTheEngineTheMouseReadsNothing) {
    int32_t x = 5, y = 5, b1 = 5, b2 = 5;
    mouse_state(x, y, b1, b2);
    EXPECT_EQ(x + y + b1 + b2, 0);
    EXPECT_EQ(mouse_axis(0), 0);
    set_mouse_position(1, 2);
    show_system_pointer(0);
    wait_mouse();
}

}  // namespace
}  // namespace vexel
