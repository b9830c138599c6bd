#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "input/input_state.h"
#include "platform/event_injection.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

TEST(KeyState, AHeldKeyReadsOneAndOnlyTheLowEightBitsCount) {
    HeadlessEngine engine;
    set_escape_quits(0);
    platform::inject_key(engine.window_id(), kKeyEscape, true);
    platform::inject_key(engine.window_id(), kKeyUp, true);
    show_screen();
    EXPECT_EQ(key_state(kKeyEscape), 1);
    EXPECT_EQ(key_state(257), 1);
    EXPECT_EQ(key_state(-255), 1);  // ...FF01
    EXPECT_EQ(key_state(kKeyUp), 1);
    EXPECT_EQ(key_state(kKeySpace), 0);

    platform::inject_key(engine.window_id(), kKeyEscape, false);
    show_screen();
    EXPECT_EQ(key_state(kKeyEscape), 0);
    EXPECT_EQ(key_state(kKeyUp), 1);
}

// As a game polls: nothing but presents and queries; the key events wait in the queue unhandled.
TEST(KeyState, BetweenPresentsTheKeyboardIsReadAgainOnlyAtThe129thQuery) {
    HeadlessEngine engine;
    show_screen();
    platform::inject_key(engine.window_id(), kKeySpace, true);
    int queries = 1;
    while (!key_state(kKeySpace) && queries < 1000)
        ++queries;
    EXPECT_EQ(queries, 129);

    // The present restarts the count.
    show_screen();
    platform::inject_key(engine.window_id(), kKeySpace, false);
    for (int query = 1; query <= 128; ++query)
        ASSERT_EQ(key_state(kKeySpace), 1) << query;
    EXPECT_EQ(key_state(kKeySpace), 0);
}

TEST(KeyState, ATapBetweenTwoReadsIsSeenOnceAndKeyHitCountsPressesNotRepeats) {
    HeadlessEngine engine;
    const uint32_t id = engine.window_id();
    show_screen();
    platform::inject_key(id, kKeySpace, true);  // down and up again before the next present
    platform::inject_key(id, kKeySpace, false);
    show_screen();
    EXPECT_EQ(key_state(kKeySpace), 1);
    EXPECT_EQ(key_hit(kKeySpace), 1);
    show_screen();
    EXPECT_EQ(key_state(kKeySpace), 0);
    EXPECT_EQ(key_hit(kKeySpace), 0);

    platform::inject_key(id, kKeyUp, true);
    show_screen();
    EXPECT_EQ(key_hit(kKeyUp), 1);
    EXPECT_EQ(key_hit(kKeyUp + 256), 1);
    platform::inject_key(id, kKeyUp, true);  // auto-repeat while held
    show_screen();
    EXPECT_EQ(key_state(kKeyUp), 1);
    EXPECT_EQ(key_hit(kKeyUp), 0);

    // A press the 129th query reads between two presents is a hit of this frame too.
    platform::inject_key(id, kKeyEscape, true);
    for (int query = 1; query <= 129; ++query)
        key_state(kKeySpace);
    EXPECT_EQ(key_hit(kKeyEscape), 1);
    set_escape_quits(0);
    show_screen();
    EXPECT_EQ(key_hit(kKeyEscape), 0);
}

TEST(KeyState, TheStateFreezesWhileTheWindowIsNotActive) {
    HeadlessEngine engine;
    set_autopause(0);
    platform::inject_key(engine.window_id(), kKeySpace, true);
    show_screen();
    ASSERT_EQ(key_state(kKeySpace), 1);
    platform::inject_focus_lost(engine.window_id());
    platform::inject_key(engine.window_id(), kKeySpace, false);
    show_screen();
    EXPECT_EQ(key_state(kKeySpace), 1);
    platform::inject_focus_gained(engine.window_id());
    show_screen();
    EXPECT_EQ(key_state(kKeySpace), 0);
}

TEST(KeyState, WithoutTheEngineEveryKeyIsUp) {
    EXPECT_EQ(key_state(kKeyEscape), 0);
    EXPECT_EQ(key_hit(kKeyEscape), 0);
    EXPECT_EQ(inkey().length(), 0u);
    wait_key();  // returns: there is nothing to wait on
}

}  // namespace
}  // namespace vexel
