#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include <vexel/app.h>
#include <vexel/frame.h>

#include "platform/message_pump.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

double say_quit() {
    std::fputs("VXL_ON_QUIT ran\n", stderr);
    return 0;
}
const CallbackEntry kQuitTable[] = {{say_quit, "VXL_ON_QUIT"}, {nullptr, nullptr}};

// Like a click on the close box: the game goes on until the next message pump, which ends it
// through end_program, so its quit function runs and the exit code is 0.
TEST(QuitSignals, InterruptTerminateAndHangUpEndTheProgramAtTheNextPump) {
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        testing::ScopedTempDir temp;
        EXPECT_EXIT(
            {
                set_callback_table(kQuitTable);
                testing::init_engine_headless(1, "caption");
                raise(signal_number);
                std::fputs("running after the signal\n", stderr);
                show_screen();
                std::fputs("running after the present\n", stderr);
                std::exit(3);
            },
            ::testing::ExitedWithCode(0),
            AllOf(HasSubstr("running after the signal\nVXL_ON_QUIT ran\n"),
                  Not(HasSubstr("after the present"))))
            << signal_number;
    }
}

TEST(QuitSignals, WithoutAWindowThePumpEndsTheProgramAllTheSame) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::ScopedTempDir temp;
    EXPECT_EXIT(
        {
            testing::init_engine_headless(1, "caption");
            raise(SIGTERM);
            platform::pump_messages(nullptr);
            std::fputs("running after the pump\n", stderr);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), Not(HasSubstr("after the pump")));
}

// A game that never pumps again can still be stopped the usual way.
TEST(QuitSignals, ASecondSignalEndsTheProcessAtOnce) {
    testing::ScopedTempDir temp;
    EXPECT_EXIT(
        {
            testing::init_engine_headless(1, "caption");
            raise(SIGINT);
            raise(SIGINT);
            std::exit(3);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

}  // namespace
}  // namespace vexel
