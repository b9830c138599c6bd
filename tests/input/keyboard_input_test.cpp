#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "input/input_state.h"
#include "platform/event_injection.h"
#include "platform/message_pump.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

constexpr int32_t kEscape = 1;
constexpr int32_t kSpace = 57;
constexpr int32_t kUp = 200;

// Events reach the device at a present's message pump and the keyboard sample at the next one.
void present_twice() {
    show_screen();
    show_screen();
}

TEST(KeyState, AHeldKeyReadsOneAndOnlyTheLowEightBitsCount) {
    HeadlessEngine engine;
    set_escape_quits(0);
    platform::inject_key(engine.window_id(), kEscape, true);
    platform::inject_key(engine.window_id(), kUp, true);
    present_twice();
    EXPECT_EQ(key_state(kEscape), 1);
    EXPECT_EQ(key_state(257), 1);
    EXPECT_EQ(key_state(-255), 1);  // ...FF01
    EXPECT_EQ(key_state(kUp), 1);
    EXPECT_EQ(key_state(kSpace), 0);

    platform::inject_key(engine.window_id(), kEscape, false);
    present_twice();
    EXPECT_EQ(key_state(kEscape), 0);
    EXPECT_EQ(key_state(kUp), 1);
}

TEST(KeyState, BetweenPresentsTheKeyboardIsReadAgainOnlyAtThe129thQuery) {
    HeadlessEngine engine;
    show_screen();
    platform::inject_key(engine.window_id(), kSpace, true);
    platform::pump_messages(nullptr);  // the device has the key; the sample does not yet
    for (int query = 1; query <= 128; ++query)
        ASSERT_EQ(key_state(kSpace), 0) << query;
    EXPECT_EQ(key_state(kSpace), 1);

    // The present restarts the count.
    show_screen();
    platform::inject_key(engine.window_id(), kSpace, false);
    platform::pump_messages(nullptr);
    for (int query = 1; query <= 128; ++query)
        ASSERT_EQ(key_state(kSpace), 1) << query;
    EXPECT_EQ(key_state(kSpace), 0);
}

TEST(KeyState, TheStateFreezesWhileTheWindowIsNotActive) {
    HeadlessEngine engine;
    set_autopause(0);
    platform::inject_key(engine.window_id(), kSpace, true);
    present_twice();
    ASSERT_EQ(key_state(kSpace), 1);
    platform::inject_focus_lost(engine.window_id());
    platform::inject_key(engine.window_id(), kSpace, false);
    present_twice();
    EXPECT_EQ(key_state(kSpace), 1);
    platform::inject_focus_gained(engine.window_id());
    present_twice();
    EXPECT_EQ(key_state(kSpace), 0);
}

TEST(KeyState, WithoutTheEngineEveryKeyIsUp) {
    EXPECT_EQ(key_state(kEscape), 0);
    EXPECT_EQ(inkey().length(), 0u);
    wait_key();  // returns: there is nothing to wait on
}

}  // namespace
}  // namespace vexel
