#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "app/subsystem_hooks.h"
#include "input/input_state.h"
#include "platform/opengl_duderedi.h"
#include "platform/virtual_joystick.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using namespace platform;
using testing::HeadlessEngine;

// A virtual controller attached before the engine starts, so that start-up finds it.
class VirtualPad {
public:
    explicit VirtualPad(const char* name = "Test Pad", int32_t axes = 6, int32_t buttons = 40,
                        int32_t hats = 1)
        : pad_(attach_virtual_joystick(name, axes, buttons, hats)) {}
    ~VirtualPad() { detach_virtual_joystick(pad_); }
    VirtualJoystick* get() const { return pad_; }

private:
    VirtualJoystick* pad_;
};

TEST(Joystick, NoJoystickReadsAsACentredStick) {
    HeadlessEngine engine;
    EXPECT_EQ(joystick_count(), 0);
    EXPECT_EQ(joystick_x(0), 0);
    EXPECT_EQ(joystick_y(0), 0);
    EXPECT_EQ(joystick_rz(0), 0);
    EXPECT_EQ(joystick_pov_x(0), 0);
    EXPECT_EQ(joystick_pov_y(0), 0);  // a missing hat is centred, not pushed up
    EXPECT_EQ(joystick_button(0, 0), 0);
    EXPECT_EQ(joystick_name(0).length(), 0u);
    int32_t x = 9, y = 9, b1 = 9, b2 = 9;
    joystick_state(x, y, b1, b2);
    EXPECT_EQ(x + y + b1 + b2, 0);
    set_error(0);
    joystick_force(0, 100, 1, 1);
    EXPECT_EQ(last_error_code(), 0);
}

TEST(Joystick, AttachedControllersAreFoundAndNamed) {
    VirtualPad first("First Pad");
    VirtualPad second("Second Pad");
    ASSERT_NE(first.get(), nullptr);
    ASSERT_NE(second.get(), nullptr);
    HeadlessEngine engine;
    EXPECT_EQ(joystick_count(), 2);
    EXPECT_STREQ(joystick_name(0).c_str(), "First Pad, First Pad");
    EXPECT_STREQ(joystick_name(1).c_str(), "Second Pad, Second Pad");
    EXPECT_EQ(joystick_name(2).length(), 0u);
    EXPECT_EQ(joystick_name(-1).length(), 0u);
}

TEST(Joystick, AxesAreScaledToPlusMinusOneAndClamped) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    set_virtual_axis(pad.get(), 0, 32767);
    set_virtual_axis(pad.get(), 1, -32768);
    set_virtual_axis(pad.get(), 2, 16384);
    set_virtual_axis(pad.get(), 3, -8192);
    set_virtual_axis(pad.get(), 4, 0);
    set_virtual_axis(pad.get(), 5, -32767);
    EXPECT_DOUBLE_EQ(joystick_x(0), 1.0);
    EXPECT_DOUBLE_EQ(joystick_y(0), -1.0);  // -32768 / 32767 is clamped
    EXPECT_NEAR(joystick_z(0), 16384.0 / 32767.0, 1e-12);
    EXPECT_NEAR(joystick_rx(0), -8192.0 / 32767.0, 1e-12);
    EXPECT_DOUBLE_EQ(joystick_ry(0), 0.0);
    EXPECT_DOUBLE_EQ(joystick_rz(0), -1.0);
    EXPECT_EQ(joystick_x(1), 0);  // no such joystick
}

TEST(Joystick, XAndYTurnWithTheScreenZDoesNot) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    set_virtual_axis(pad.get(), 0, 32767);  // pushed right
    set_virtual_axis(pad.get(), 2, 32767);
    const double expected_x[4] = {1, 0, -1, 0};
    const double expected_y[4] = {0, -1, 0, 1};
    for (int32_t turn = 0; turn < 4; ++turn) {
        platform::opengl_duderedi()->orientation = turn;
        EXPECT_DOUBLE_EQ(joystick_x(0), expected_x[turn]) << turn;
        EXPECT_DOUBLE_EQ(joystick_y(0), expected_y[turn]) << turn;
        EXPECT_DOUBLE_EQ(joystick_z(0), 1.0) << turn;
    }
}

TEST(Joystick, ADiagonalHatGivesBothDirections) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    EXPECT_EQ(joystick_pov_x(0), 0);
    EXPECT_EQ(joystick_pov_y(0), 0);
    set_virtual_hat(pad.get(), 0, kVirtualHatUp | kVirtualHatRight);
    EXPECT_EQ(joystick_pov_x(0), 1);
    EXPECT_EQ(joystick_pov_y(0), -1);
    set_virtual_hat(pad.get(), 0, kVirtualHatDown | kVirtualHatLeft);
    EXPECT_EQ(joystick_pov_x(0), -1);
    EXPECT_EQ(joystick_pov_y(0), 1);
    set_virtual_hat(pad.get(), 0, kVirtualHatDown);
    EXPECT_EQ(joystick_pov_x(0), 0);
    EXPECT_EQ(joystick_pov_y(0), 1);
    set_virtual_hat(pad.get(), 0, kVirtualHatRight);
    platform::opengl_duderedi()->orientation = 2;
    EXPECT_EQ(joystick_pov_x(0), -1);
    EXPECT_EQ(joystick_pov_y(0), 0);
}

TEST(Joystick, ButtonsUpTo31AreReadAndHigherOnesGiveZero) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    set_virtual_button(pad.get(), 0, true);
    set_virtual_button(pad.get(), 31, true);
    set_virtual_button(pad.get(), 32, true);
    set_virtual_button(pad.get(), 35, true);
    EXPECT_NE(joystick_button(0, 0), 0);
    EXPECT_EQ(joystick_button(0, 1), 0);
    EXPECT_NE(joystick_button(0, 31), 0);
    EXPECT_EQ(joystick_button(0, 32), 0);
    EXPECT_EQ(joystick_button(0, 35), 0);
    EXPECT_EQ(joystick_button(0, -1), 0);
    set_virtual_button(pad.get(), 0, false);
    EXPECT_EQ(joystick_button(0, 0), 0);
}

TEST(Joystick, JoystickStateGivesWholeThirtyThousandthsAndTwoButtons) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    set_virtual_axis(pad.get(), 0, 32767);
    set_virtual_axis(pad.get(), 1, -29999);
    set_virtual_button(pad.get(), 1, true);
    platform::opengl_duderedi()->orientation = 1;  // not turned
    double x = 0, y = 0, b1 = 0, b2 = 0;
    joystick_state(x, y, b1, b2);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(b1, 0);
    EXPECT_NE(b2, 0);
}

TEST(Joystick, ForceOnAJoystickWithoutForceFeedbackDoesNothing) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    set_error(0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    joystick_force(0, 500, 1, -1);
    joystick_force(0, -5, 3, 0.5);
    joystick_force(0, nan, nan, 1e300);
    joystick_force(0, 1e300, 0, 0);
    joystick_force(7, 100, 1, 1);
    EXPECT_EQ(last_error_code(), 0);
    set_virtual_axis(pad.get(), 0, 32767);
    EXPECT_DOUBLE_EQ(joystick_x(0), 1.0);
}

TEST(Joystick, AMovedJoystickEndsTheIdleWaitEarly) {
    VirtualPad pad;
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    EXPECT_FALSE(joystick_moved(0));
    set_virtual_axis(pad.get(), 2, 4000);  // 0.12 of the range
    EXPECT_TRUE(joystick_moved(0));
    set_virtual_axis(pad.get(), 2, 3000);
    EXPECT_FALSE(joystick_moved(0));
    set_virtual_hat(pad.get(), 0, kVirtualHatLeft);
    EXPECT_TRUE(joystick_moved(0));
}

TEST(Joystick, TheForceEffectFollowsTheArguments) {
    ConstantForce force = constant_force(250, 1, -1);
    EXPECT_EQ(force.dx, 32767);
    EXPECT_EQ(force.dy, -32767);
    EXPECT_EQ(force.magnitude, 10000);
    EXPECT_EQ(force.duration_ms, 250u);

    force = constant_force(10.9, 0.5, 0);
    EXPECT_EQ(force.dx, 16383);
    EXPECT_EQ(force.dy, 0);
    EXPECT_EQ(force.magnitude, 1250);  // 0.25 * 10000 * 0.5
    EXPECT_EQ(force.duration_ms, 10u);

    // Out-of-range arguments are clamped: never more than full force, never a negative time.
    force = constant_force(-40, 7, -3);
    EXPECT_EQ(force.dx, 32767);
    EXPECT_EQ(force.dy, -32767);
    EXPECT_EQ(force.magnitude, 10000);
    EXPECT_EQ(force.duration_ms, 0u);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    force = constant_force(nan, nan, 0.1);
    EXPECT_EQ(force.dx, 0);
    EXPECT_EQ(force.dy, 3276);
    EXPECT_EQ(force.magnitude, 50);
    EXPECT_EQ(force.duration_ms, 0u);
    EXPECT_EQ(constant_force(1e300, 0, 0).duration_ms, 24u * 60 * 60 * 1000);
}

TEST(Joystick, LongNamesAreCutToTheStoredSize) {
    const std::string long_name(600, 'n');
    VirtualPad pad(long_name.c_str());
    ASSERT_NE(pad.get(), nullptr);
    HeadlessEngine engine;
    const DynString name = joystick_name(0);
    EXPECT_EQ(name.length(), kJoystickNameSize - 1);
    EXPECT_EQ(std::string(name.c_str(), 4), "nnnn");
}

TEST(Joystick, TheIdleWaitSeesAnyJoystickThatIsTouched) {
    VirtualPad first;
    VirtualPad second;
    ASSERT_NE(second.get(), nullptr);
    HeadlessEngine engine;
    EXPECT_FALSE(hooks::joystick_active());
    set_virtual_button(second.get(), 20, true);
    EXPECT_TRUE(hooks::joystick_active());
    set_virtual_button(second.get(), 20, false);
    EXPECT_FALSE(hooks::joystick_active());
    set_virtual_axis(first.get(), 1, -20000);
    EXPECT_TRUE(hooks::joystick_active());
}

}  // namespace
}  // namespace vexel
