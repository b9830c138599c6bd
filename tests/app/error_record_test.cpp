#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/error.h>

#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::HasSubstr;

TEST(ErrorRecord, SetErrorCopiesTheCurrentLine) {
    set_source_position(4, 17);
    set_error(3);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(error_state().error_line, 17);
    EXPECT_EQ(error_state().current_module, 4);
    clear_error_record();
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(error_state().error_line, 0);
    EXPECT_EQ(error_state().current_line, 0);
    EXPECT_EQ(error_state().current_module, 4);
}

TEST(ErrorLog, AppendsEachTextAsItIsAndNullAsNULL) {
    testing::ScopedTempDir dir;
    EXPECT_EQ(std::string(error_log_path()), dir.file("ErrorLog.txt"));
    append_error_log("one\n");
    append_error_log("");
    append_error_log(nullptr);
    append_error_log("two");
    EXPECT_EQ(testing::read_file(dir.file("ErrorLog.txt")), "one\nNULLtwo");
}

TEST(ErrorLog, AnUnwritableLogDropsTheLineSilently) {
    testing::ScopedTempDir dir;
    const std::string folder = dir.path() + "missing/folder/";
    setenv("TMPDIR", folder.c_str(), 1);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    append_error_log("lost\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(std::string(temp_folder()), folder);
    // Nothing is made on the way, and the dropped line is not kept for a later write.
    EXPECT_NE(::access((dir.path() + "missing").c_str(), F_OK), 0);
    ASSERT_EQ(::mkdir((dir.path() + "missing").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    append_error_log("kept\n");
    EXPECT_EQ(testing::read_file(folder + "ErrorLog.txt"), "kept\n");
}

TEST(ErrorLog, ALinkOrAPipeUnderTheLogsNameIsNeverWrittenThrough) {
    testing::ScopedTempDir dir;
    const std::string log = error_log_path();
    testing::write_file(dir.file("victim"), "victim");
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), log.c_str()), 0);
    append_error_log("lost\n");
    EXPECT_EQ(testing::read_file(dir.file("victim")), "victim");

    // A pipe with a reader takes nothing; one without a reader does not hold the line up.
    ASSERT_EQ(::unlink(log.c_str()), 0);
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    append_error_log("lost\n");
    char bytes[8];
    EXPECT_LE(::read(reader, bytes, sizeof bytes), 0);
    ::close(reader);
    append_error_log("lost\n");

    ASSERT_EQ(::unlink(log.c_str()), 0);
    append_error_log("kept\n");
    EXPECT_EQ(testing::read_file(log), "kept\n");
}

TEST(DebugOutput, NothingReachesStandardErrorWithoutADebugger) {
    ASSERT_FALSE(debugger_attached());
    ::testing::internal::CaptureStderr();
    debug_output("hello");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(WriteOutput, WritesTheTextWithoutALineEnd) {
    ::testing::internal::CaptureStdout();
    write_stdout("a");
    write_stdout("b");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ab");
    ::testing::internal::CaptureStderr();
    write_stderr("c");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "c");
}

int g_quit_calls = 0;
double on_quit() {
    ++g_quit_calls;
    std::printf("quit %d\n", g_quit_calls);
    end_program();  // a nested call while ending returns at once
    return 0;
}

TEST(EndProgram, PrintsExitAndRunsTheQuitCallbackOnce) {
    const CallbackEntry table[] = {{on_quit, "VXL_ON_QUIT"}, {nullptr, nullptr}};
    set_callback_table(table);
    EXPECT_EXIT(
        {
            // Standard output goes to standard error so that the death test can see it.
            dup2(2, 1);
            end_program();
        },
        ::testing::ExitedWithCode(0), "^quit 1\nexit\n$");
}

TEST(EndProgram, DebugModeWritesTheErrorReport) {
    testing::ScopedTempDir dir;
    project_settings().debug_mode = 1;
    set_source_position(2, 40);
    set_error(9);
    set_source_position(2, 41);
    EXPECT_EXIT(end_program(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testing::read_file(dir.file("ErrorLog.txt")), "-End On Line\n9\n39\n41\n2\n");
}

TEST(AssertValue, ZeroEndsTheProgramNonZeroDoesNothing) {
    assert_value(1);
    assert_value(-0.5);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            assert_value(0);
        },
        ::testing::ExitedWithCode(0), "exit\n");
    testing::ScopedTempDir dir;
    project_settings().debug_mode = 1;
    EXPECT_EXIT(assert_value(0), ::testing::ExitedWithCode(0), "");
    EXPECT_THAT(testing::read_file(dir.file("ErrorLog.txt")), HasSubstr("-End On Line\n21\n"));
}

}  // namespace
}  // namespace vexel
