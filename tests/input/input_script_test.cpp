#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <vexel/app.h>
#include <vexel/frame.h>
#include <vexel/input.h>

#include "input/input_script.h"
#include "input/input_state.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using ::testing::HasSubstr;
using testing::HeadlessEngine;

TEST(InputScript, EveryKindOfLineIsUnderstood) {
    const InputScript script = parse_input_script(
        "# a comment\n"
        "\n"
        "3 key-down 200\n"
        "4 key-up 200\r\n"
        "5 text hello world \n"
        "6 mouse-move 10 -20\n"
        "7 mouse-button 1 down\n"
        "7 mouse-button 2 up\n"
        "7 mouse-button 3 down\n"
        "8 wheel -1\n"
        "9 focus-lost\n"
        "10 focus-gained\n"
        "  11   close  \n");
    EXPECT_TRUE(script.bad_lines.empty());
    ASSERT_EQ(script.events.size(), 11u);
    const auto& e = script.events;
    EXPECT_EQ(e[0].frame, 3);
    EXPECT_EQ(e[0].kind, ScriptedKind::kKeyDown);
    EXPECT_EQ(e[0].a, 200);
    EXPECT_EQ(e[1].kind, ScriptedKind::kKeyUp);
    EXPECT_EQ(e[2].kind, ScriptedKind::kText);
    EXPECT_EQ(e[2].text, "hello world ");
    EXPECT_EQ(e[3].kind, ScriptedKind::kMouseMove);
    EXPECT_EQ(e[3].a, 10);
    EXPECT_EQ(e[3].b, -20);
    EXPECT_EQ(e[4].kind, ScriptedKind::kMouseButton);
    EXPECT_EQ(e[4].a, 0);
    EXPECT_TRUE(e[4].down);
    EXPECT_EQ(e[5].a, 1);
    EXPECT_FALSE(e[5].down);
    EXPECT_EQ(e[6].a, 2);
    EXPECT_EQ(e[7].kind, ScriptedKind::kWheel);
    EXPECT_EQ(e[7].a, -1);
    EXPECT_EQ(e[8].kind, ScriptedKind::kFocusLost);
    EXPECT_EQ(e[9].kind, ScriptedKind::kFocusGained);
    EXPECT_EQ(e[10].kind, ScriptedKind::kClose);
    EXPECT_EQ(e[10].frame, 11);
}

TEST(InputScript, MalformedLinesAreReportedAndSkipped) {
    const InputScript script = parse_input_script(
        "key-down 1\n"                // 1: no frame
        "0 key-down 1\n"              // 2: frames count from 1
        "-4 key-down 1\n"             // 3
        "99999999999 key-down 1\n"    // 4: beyond any frame
        "5 key-down 256\n"            // 5: not a scan code
        "5 key-down\n"                // 6
        "5 key-down 1 2\n"            // 7: trailing words
        "5 key-down 0x10\n"           // 8
        "5 mouse-move 1\n"            // 9
        "5 mouse-move 1 99999999\n"   // 10
        "5 mouse-button 4 down\n"     // 11
        "5 mouse-button 1 pressed\n"  // 12
        "5 wheel 1000000\n"           // 13
        "5 text\n"                    // 14: nothing to type
        "5 jump\n"                    // 15
        "5 focus-lost now\n"          // 16
        "6 key-down 57\n");
    EXPECT_EQ(script.bad_lines,
              (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    ASSERT_EQ(script.events.size(), 1u);
    EXPECT_EQ(script.events[0].a, 57);
}

TEST(InputScript, EventsAreOrderedByFrameKeepingTheFileOrderWithinAFrame) {
    const InputScript script = parse_input_script(
        "9 key-down 3\n"
        "2 key-down 1\n"
        "9 key-up 3\n"
        "2 key-up 1\n");
    ASSERT_EQ(script.events.size(), 4u);
    EXPECT_EQ(script.events[0].frame, 2);
    EXPECT_EQ(script.events[0].kind, ScriptedKind::kKeyDown);
    EXPECT_EQ(script.events[1].kind, ScriptedKind::kKeyUp);
    EXPECT_EQ(script.events[1].frame, 2);
    EXPECT_EQ(script.events[2].kind, ScriptedKind::kKeyDown);
    EXPECT_EQ(script.events[3].kind, ScriptedKind::kKeyUp);
}

TEST(InputScript, BytesThatAreNotTextDoNotBreakTheParser) {
    std::string junk = "1 text \x01\xFF\x80";
    junk.push_back('\0');
    junk += "x\n\xFF\xFE key-down 3\n";
    const InputScript script = parse_input_script(junk);
    EXPECT_EQ(script.events.size(), 1u);
    EXPECT_EQ(script.bad_lines, (std::vector<int32_t>{2}));
}

class ScriptedRun : public ::testing::Test {
protected:
    void start(const std::string& script) {
        engine_ =
            std::make_unique<HeadlessEngine>(nullptr, 1, [&](const testing::ScopedTempDir& temp) {
                const std::string path = temp.file("input.txt");
                std::ofstream(path, std::ios::binary) << script;
                setenv("VEXEL_INPUT_SCRIPT", path.c_str(), 1);
            });
    }
    std::unique_ptr<HeadlessEngine> engine_;
};

TEST_F(ScriptedRun, KeysTextAndMouseArriveAtTheirFrames) {
    start(
        "2 key-down 57\n"
        "2 text hi\n"
        "3 mouse-move 200 100\n"
        "3 mouse-button 1 down\n"
        "4 wheel 2\n"
        "5 key-up 57\n"
        "5 mouse-move 150 120\n");
    show_screen();  // frame 1
    EXPECT_EQ(key_state(57), 0);
    show_screen();  // frame 2: queued; this present's keyboard sample and pump take them
    EXPECT_EQ(key_state(57), 1);
    EXPECT_STREQ(inkey().c_str(), "h");
    EXPECT_STREQ(inkey().c_str(), "i");
    show_screen();  // frame 3
    EXPECT_EQ(key_state(57), 1);
    int32_t x = 0, y = 0, b1 = 0, b2 = 0;
    mouse_state(x, y, b1, b2);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 100);
    EXPECT_EQ(b1, 1);
    show_screen();  // frame 4
    EXPECT_EQ(mouse_axis(2), 1);
    EXPECT_EQ(key_state(57), 1);
    show_screen();  // frame 5
    EXPECT_EQ(mouse_axis(0), -50);
    EXPECT_EQ(mouse_axis(1), 20);
    EXPECT_EQ(key_state(57), 0);
    EXPECT_TRUE(input_state()->script.finished());
}

TEST_F(ScriptedRun, EscapeFromTheScriptEndsTheProgram) {
    EXPECT_EXIT(
        {
            start("1 key-down 1\n");
            for (int frame = 0; frame < 10; ++frame)
                show_screen();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ScriptedRun, AFocusLossPausesUntilTheScriptGivesTheFocusBack) {
    set_autopause(1);
    start(
        "2 focus-lost\n"
        "3 focus-gained\n"
        "4 key-down 30\n");
    for (int frame = 0; frame < 6; ++frame)
        show_screen();
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(key_state(30), 1);
}

TEST_F(ScriptedRun, BadLinesAreLoggedAndTheRestPlays) {
    start(
        "1 key-down 30\n"
        "2 explode\n");
    EXPECT_THAT(engine_->log(), HasSubstr("Input script line 2 ignored\n"));
    show_screen();
    show_screen();
    EXPECT_EQ(key_state(30), 1);
}

TEST_F(ScriptedRun, AFileOfJunkNamesItsFirstBadLinesAndCountsTheRest) {
    std::string junk;
    for (int line = 0; line < 1000; ++line)
        junk += "junk\n";
    start(junk + "1001 key-down 30\n");
    const std::string log = engine_->log();
    size_t named = 0;
    for (size_t at = log.find(" ignored\n"); at != std::string::npos;
         at = log.find(" ignored\n", at + 1))
        ++named;
    EXPECT_EQ(named, 6u);  // five lines by number, then the count of the others
    EXPECT_THAT(log, HasSubstr("Input script line 1 ignored\nInput script line 2 ignored\n"));
    EXPECT_THAT(log, HasSubstr("Input script line 5 ignored\nInput script: 995 more lines "
                               "ignored\n"));
    EXPECT_EQ(input_state()->script.finished(), false);
}

// A turn of wait_key, wait_mouse or the pause loop is a frame of the script, so a run that
// waits for the user goes on as the script answers.
TEST_F(ScriptedRun, WaitingTurnsCountAsFramesSoTheScriptCanAnswer) {
    alarm(30);  // a wait that the script cannot answer would hold the test for ever
    set_autopause(1);
    start(
        "1 text typed-before-the-wait\n"
        "3 text y\n"
        "5 mouse-button 1 down\n"
        "6 mouse-button 1 up\n"
        "7 focus-lost\n"
        "10 focus-gained\n"
        "11 key-down 57\n");
    show_screen();  // frame 1
    wait_key();     // turns at frames 2 and 3; the text typed before the wait is discarded
    EXPECT_EQ(inkey().length(), 0u);
    wait_mouse();   // no button at frame 4, pressed at 5, released at 6
    show_screen();  // frame 7: the focus goes
    EXPECT_EQ(is_paused(), 1);
    show_screen();  // frame 8 holds in the pause loop; its turns are frames 9 and 10
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(key_state(57), 0);
    show_screen();  // frame 11
    EXPECT_EQ(key_state(57), 1);
    EXPECT_TRUE(input_state()->script.finished());
    alarm(0);
}

TEST_F(ScriptedRun, MaxFramesEndsARunThatSitsInAWait) {
    setenv("VEXEL_MAX_FRAMES", "5", 1);
    ::testing::internal::CaptureStdout();
    EXPECT_EXIT(
        {
            alarm(30);
            start("");
            show_screen();
            wait_key();
            std::fprintf(stderr, "the wait came back\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), ::testing::Not(HasSubstr("the wait came back")));
    EXPECT_THAT(::testing::internal::GetCapturedStdout(), ::testing::EndsWith("exit\n"));
}

TEST(InputScriptFile, AMissingFileIsLoggedAndNothingPlays) {
    HeadlessEngine engine(nullptr, 1, [](const testing::ScopedTempDir& temp) {
        setenv("VEXEL_INPUT_SCRIPT", temp.file("absent.txt").c_str(), 1);
    });
    EXPECT_THAT(engine.log(), HasSubstr("Input script not readable\n"));
    show_screen();
    EXPECT_TRUE(input_state()->script.finished());
}

}  // namespace
}  // namespace vexel
