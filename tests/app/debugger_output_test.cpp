#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/error.h>

#include "support/fake_debugger.h"

namespace vexel {
namespace {

TEST(DebuggerOutput, AFailedCallbackIsReportedAsOneTextOnlyUnderADebugger) {
    ::testing::internal::CaptureStderr();
    set_paused(1);
    set_paused(0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    testing::ScopedFakeDebugger debugger;
    if (!debugger.attached()) GTEST_SKIP() << "this sandbox refuses ptrace";
    ASSERT_TRUE(debugger_attached());
    ::testing::internal::CaptureStderr();
    set_paused(1);
    call_by_name("VXL_ON_QUIT");
    call_by_name("VXL_WIN32_MSG");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "TXCALLBYNAME \"VXL_ON_PAUSE\" *** failed ***\n");
}

testing::ScopedFakeDebugger* g_debugger = nullptr;
double detach_debugger() {
    g_debugger->detach();
    return 0;
}

const CallbackEntry kDetachOnQuit[] = {{detach_debugger, "VXL_ON_QUIT"}, {nullptr, nullptr}};

TEST(DebuggerOutput, AFailedAssertionTellsTheDebugger) {
    if (!testing::ScopedFakeDebugger().attached()) GTEST_SKIP() << "this sandbox refuses ptrace";
    // A forked death-test child is not traced: it attaches a debugger of its own.
    EXPECT_EXIT(
        {
            testing::ScopedFakeDebugger debugger;
            g_debugger = &debugger;
            set_callback_table(kDetachOnQuit);
            assert_value(0);
        },
        ::testing::ExitedWithCode(0),
        "^TXAssertion: Value = 0\nvexel: assertion failed: assert_value\\(0\\)\n$");
}

}  // namespace
}  // namespace vexel
