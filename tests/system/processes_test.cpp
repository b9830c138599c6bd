#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/system.h>
#include <vexel/window.h>

#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::read_file;
using testing::ScopedTempDir;
using testing::write_file;

// Children run on their own time: waits up to 10 s for what they are expected to do.
bool eventually(const std::function<bool()>& condition) {
    for (int tries = 0; tries < 500 && !condition(); ++tries)
        ::usleep(20000);
    return condition();
}

TEST(LaunchProcess, WaitReturnsWhenTheChildEndsWithItsExitCode) {
    ScopedTempDir temp;
    const std::string last_word = temp.file("last_word");
    const struct {
        std::string line;
        double code;
    } cases[] = {
        {"sh -c 'sleep 0.1; echo > " + last_word + "; exit 7'", 7},
        {"true", 0},
        {"sh -c 'kill -TERM $$'", 128 + 15},
    };
    for (const auto& c : cases) {
        double code = -1;
        EXPECT_EQ(launch_process(c.line.c_str(), true, true, code), 1) << c.line;
        EXPECT_EQ(code, c.code) << c.line;
    }
    EXPECT_EQ(read_file(last_word), "\n");
}

TEST(LaunchProcess, QuotedArgumentsArriveWholeAndNothingIsExpanded) {
    ScopedTempDir temp;
    const std::string out = temp.file("argv");
    const std::string line = "sh -c 'for a; do printf \"[%s]\" \"$a\"; done > \"$0\"' " + out +
                             " \"two words\" 'a\"b' '' \"$HOME\" *";
    int32_t code = -1;
    ASSERT_EQ(launch_process(line.c_str(), true, false, code), 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read_file(out), "[two words][a\"b][][$HOME][*]");
}

TEST(LaunchProcess, NothingStartedGivesZero) {
    for (const char* line :
         {"vexel-no-such-program --flag", "/nonexistent/program", "", "  ", "sh -c 'unclosed"}) {
        double code = 5;
        EXPECT_EQ(launch_process(line, true, true, code), 0) << line;
        EXPECT_EQ(code, 0) << line;
    }
}

TEST(LaunchProcess, WithoutWaitReturnsAtOnceAndTheChildIsReaped) {
    ScopedTempDir temp;
    const std::string pid_file = temp.file("pid");
    const std::string go = temp.file("go");
    const std::string line = "sh -c 'echo $$ > " + pid_file + ".tmp; mv " + pid_file + ".tmp " +
                             pid_file + "; until [ -e " + go + " ]; do sleep 0.02; done'";
    double code = -1;
    ASSERT_EQ(launch_process(line.c_str(), false, true, code), 1);  // would hang if it waited
    EXPECT_EQ(code, 0);

    ASSERT_TRUE(eventually([&] { return !read_file(pid_file).empty(); }));
    const std::string proc_entry = "/proc/" + std::to_string(std::stoi(read_file(pid_file)));
    EXPECT_TRUE(std::filesystem::exists(proc_entry));
    write_file(go, "");
    // A zombie keeps its /proc entry until its parent reaps it.
    EXPECT_TRUE(eventually([&] { return !std::filesystem::exists(proc_entry); }));
}

TEST(LaunchProcess, TheChildInheritsNoDescriptorButTheStandardOnes) {
    const int engine_file = ::open("/dev/null", O_RDONLY);  // not close-on-exec
    ASSERT_GE(engine_file, 3);
    for (const auto& [fd, code] : {std::pair{engine_file, 1}, std::pair{STDOUT_FILENO, 0}}) {
        const std::string line = "sh -c '[ -e /proc/$$/fd/" + std::to_string(fd) + " ]'";
        int32_t exit_code = -1;
        ASSERT_EQ(launch_process(line.c_str(), true, true, exit_code), 1);
        EXPECT_EQ(exit_code, code) << "descriptor " << fd;
    }
    ::close(engine_file);
}

TEST(LaunchProcess, AFullScreenEngineTurnsWindowed) {
    testing::HeadlessEngine engine;
    ASSERT_TRUE(engine.has_window());
    testing::full_screen_640x480();
    ASSERT_EQ(is_fullscreen_mode(), 1);
    double code = -1;
    EXPECT_EQ(launch_process("true", true, true, code), 1);
    EXPECT_EQ(is_fullscreen_mode(), 0);
}

// A stand-in for the desktop's opener, first on PATH: it records its arguments.
class ShellOpen : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string opener = temp_.file("xdg-open");
        write_file(opener, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + opened_ + ".tmp\nmv " + opened_ +
                               ".tmp " + opened_ + "\n");
        ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);
        setenv("PATH", (temp_.path() + ":" + std::getenv("PATH")).c_str(), 1);
    }

    std::string handed_over() {
        if (!eventually([&] { return !read_file(opened_).empty(); })) return {};
        const std::string arguments = read_file(opened_);
        std::remove(opened_.c_str());
        return arguments;
    }

    ScopedTempDir temp_;
    const std::string opened_ = temp_.file("opened");
};

TEST_F(ShellOpen, HandsTheDocumentOverAndGoesOnWhileEscapeDoesNotQuit) {
    set_escape_quits(0);
    shell_open("https://example.org/a b?c=d\\e");
    EXPECT_EQ(handed_over(), "https://example.org/a b?c=d\\e\n");
    shell_open("docs\\manual.pdf");
    EXPECT_EQ(handed_over(), "docs/manual.pdf\n");
}

TEST_F(ShellOpen, EndsTheProgramAfterwardsWhileEscapeQuits) {
    const std::string output = temp_.file("stdout");
    EXPECT_EXIT(
        {
            (void)std::freopen(output.c_str(), "w", stdout);
            shell_open("notes.txt");
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_file(output), "exit\n");
    EXPECT_EQ(handed_over(), "notes.txt\n");
}

TEST_F(ShellOpen, WithoutAnOpenerNothingHappens) {
    const std::string empty_folder = temp_.file("empty");
    ASSERT_EQ(::mkdir(empty_folder.c_str(), 0700), 0);
    setenv("PATH", empty_folder.c_str(), 1);
    shell_open("notes.txt");  // Escape quits, yet the program goes on
    EXPECT_EQ(last_error_code(), 3);
}

}  // namespace
}  // namespace vexel
