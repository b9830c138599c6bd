#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <vexel/error.h>
#include <vexel/game.h>

#include "app/command_line.h"
#include "platform/opengl_duderedi.h"
#include "platform/window.h"
#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(CommandLine, IsTheProgramPathAndTheArgumentsSeparatedBySingleSpaces) {
    EXPECT_STREQ(get_command_line().c_str(), "");
    char program[] = "/games/tiles";
    char first[] = "-level";
    char second[] = "two words";
    char* argv[] = {program, first, second, nullptr};
    store_command_line(3, argv);
    EXPECT_STREQ(get_command_line().c_str(), "/games/tiles -level two words");
    DynString copy = get_command_line();
    copy.append(" changed");
    EXPECT_STREQ(get_command_line().c_str(), "/games/tiles -level two words");
    store_command_line(1, argv);
    EXPECT_STREQ(get_command_line().c_str(), "/games/tiles");
}

int g_quits = 0;
double on_quit() {
    ++g_quits;
    std::fprintf(stderr, "quit %d\n", g_quits);
    return 0;
}
const CallbackEntry kTable[] = {{on_quit, "VXL_ON_QUIT"}, {nullptr, nullptr}};

void settings(ProjectSettings& s) {
    s.width = 320;
    s.height = 200;
    s.project_name = "entry test";
}

void game_main() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    std::fprintf(stderr, "size %dx%d caption '%s' error %d line %d\n", gl->width, gl->height,
                 platform::window_title(gl->window).c_str(), last_error_code(),
                 error_state().current_line);
    std::fprintf(stderr, "command '%s'\n", get_command_line().c_str());
}

[[noreturn]] void run_with_arguments(const Game& game) {
    char program[] = "game";
    char argument[] = "--fast";
    char* argv[] = {program, argument, nullptr};
    testing::suspend_leak_checks();
    run_game(game, 2, argv);
}

[[noreturn]] void run_without_arguments(const Game& game) {
    char program[] = "game";
    char* argv[] = {program, nullptr};
    testing::suspend_leak_checks();
    run_game(game, 1, argv);
}

TEST(ProcessEntry, RunsTheGameWithItsSettingsAndEndsThroughEndProgram) {
    testing::ScopedTempDir temp;
    setenv("VEXEL_VIDEO", "offscreen", 1);
    ::testing::internal::CaptureStdout();
    EXPECT_EXIT(
        {
            set_source_position(1, 40);
            set_error(7);
            run_with_arguments((Game{settings, kTable, game_main}));
        },
        ::testing::ExitedWithCode(0),
        ::testing::AllOf(HasSubstr("size 320x200 caption 'entry test' error 0 line 0\n"),
                         HasSubstr("command 'game --fast'\n"), EndsWith("quit 1\n")));
    EXPECT_THAT(::testing::internal::GetCapturedStdout(), EndsWith("exit\n"));
}

TEST(ProcessEntry, AGameWithoutSettingsOrCallbacksRunsWithTheDefaults) {
    testing::ScopedTempDir temp;
    setenv("VEXEL_VIDEO", "offscreen", 1);
    EXPECT_EXIT(run_without_arguments((Game{nullptr, nullptr, game_main})),
                ::testing::ExitedWithCode(0),
                HasSubstr("size 640x480 caption 'quorn.triangle.wall.VXM'"));
}

}  // namespace
}  // namespace vexel
