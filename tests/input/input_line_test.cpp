#include <gtest/gtest.h>

#include <vexel/dyn_string.h>
#include <vexel/input.h>

#include "gfx2d/texture_store.h"
#include "platform/event_injection.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

constexpr int32_t kEnter = 28;
constexpr int32_t kBackspace = 14;

void press(uint32_t window, int32_t scan_code) {
    platform::inject_key(window, scan_code, true);
    platform::inject_key(window, scan_code, false);
}

bool edit_background_in_use() {
    return texture_store().background(3)->columns != 0;
}

TEST(InputLine, TypedCharactersEditTheTextUntilReturn) {
    HeadlessEngine engine;
    testing::LeakCheckPause pause;  // the line is drawn each turn
    platform::inject_text(engine.window_id(), "ab");
    press(engine.window_id(), kBackspace);
    platform::inject_text(engine.window_id(), "c");
    press(engine.window_id(), kEnter);
    platform::inject_text(engine.window_id(), "d");  // after Return: left for the game
    EXPECT_STREQ(input_line(DynString("x="), 10, 10, true).c_str(), "x=ac");
    EXPECT_FALSE(edit_background_in_use());
    EXPECT_STREQ(inkey().c_str(), "d");
}

TEST(InputLine, BackspaceOnEmptyTextKeepsItEmpty) {
    HeadlessEngine engine;
    testing::LeakCheckPause pause;  // the line is drawn each turn
    press(engine.window_id(), kBackspace);
    press(engine.window_id(), kBackspace);
    platform::inject_text(engine.window_id(), "7");
    press(engine.window_id(), kEnter);
    EXPECT_STREQ(input_line(DynString(""), 0, 0, false).c_str(), "7");
}

TEST(InputLine, VariantsReadTheEditedTextAsNumbers) {
    HeadlessEngine engine;
    testing::LeakCheckPause pause;  // the line is drawn each turn
    platform::inject_text(engine.window_id(), "42.5");
    press(engine.window_id(), kEnter);
    EXPECT_EQ(input_line_int(DynString("1"), 0, 0, false), 142);
    platform::inject_text(engine.window_id(), "e2");
    press(engine.window_id(), kEnter);
    EXPECT_DOUBLE_EQ(input_line_number(DynString("1.5"), 0, 0, false), 150.0);
}

}  // namespace
}  // namespace vexel
