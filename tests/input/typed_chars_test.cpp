#include <gtest/gtest.h>

#include <string>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "input/input_state.h"
#include "platform/event_injection.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

constexpr int32_t kEnter = 28;
constexpr int32_t kBackspace = 14;
constexpr int32_t kTab = 15;

std::string take_all() {
    std::string typed;
    for (DynString c = inkey(); c.length() > 0; c = inkey())
        typed.append(c.c_str(), c.length());
    return typed;
}

TEST(TypedChars, LetterReturnLetterGiveThreeTexts) {
    HeadlessEngine engine;
    platform::inject_text(engine.window_id(), "a");
    platform::inject_key(engine.window_id(), kEnter, true);
    platform::inject_key(engine.window_id(), kEnter, false);
    platform::inject_text(engine.window_id(), "b");
    show_screen();
    EXPECT_STREQ(inkey().c_str(), "a");
    EXPECT_STREQ(inkey().c_str(), "\n");
    EXPECT_STREQ(inkey().c_str(), "b");
    EXPECT_EQ(inkey().length(), 0u);
}

TEST(TypedChars, MoreThanSixteenWaitingCharactersDropTheSurplus) {
    HeadlessEngine engine;
    platform::inject_text(engine.window_id(), "abcdefghij");
    platform::inject_text(engine.window_id(), "klmnopqrst");
    show_screen();
    EXPECT_EQ(take_all(), "abcdefghijklmnop");
    // Taking them makes room again.
    platform::inject_text(engine.window_id(), "xyz");
    show_screen();
    EXPECT_EQ(take_all(), "xyz");
}

TEST(TypedChars, BackspaceAndTabAreKeptOtherControlCharactersAreNot) {
    HeadlessEngine engine;
    platform::inject_key(engine.window_id(), kBackspace, true);
    platform::inject_key(engine.window_id(), kTab, true);
    platform::inject_key(engine.window_id(), 1, true);  // Escape types 27
    show_screen();
    EXPECT_EQ(take_all(), "\b\t");
}

TEST(TypedChars, PushFollowsTheQueueRules) {
    HeadlessEngine engine;
    push_typed_char(0);
    push_typed_char(27);
    push_typed_char(31);
    push_typed_char(-5);
    push_typed_char(300);
    push_typed_char(13);
    push_typed_char(0xE9);
    EXPECT_EQ(pop_typed_char(), 10);
    EXPECT_EQ(pop_typed_char(), 0xE9);
    EXPECT_EQ(pop_typed_char(), 0);
}

TEST(TypedChars, LatinOneTextArrivesAsItsBytes) {
    HeadlessEngine engine;
    platform::inject_text(engine.window_id(), "\xE9\xFF");
    show_screen();
    EXPECT_EQ(take_all(), "\xE9\xFF");
}

TEST(TypedChars, WaitKeyReturnsOnceACharacterIsTypedAndDiscardsIt) {
    HeadlessEngine engine;
    push_typed_char('q');  // typed before the wait: discarded
    platform::inject_text(engine.window_id(), "zw");
    wait_key();
    EXPECT_EQ(inkey().length(), 0u);
}

}  // namespace
}  // namespace vexel
