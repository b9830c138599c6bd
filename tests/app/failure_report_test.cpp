#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include <vexel/app.h>
#include <vexel/data_list.h>
#include <vexel/dyn_array.h>
#include <vexel/error.h>
#include <vexel/files.h>

#include "app/failure_report.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

TEST(FailureReport, ALoadFailureNamesTheCommandTheFileAndTheReason) {
    testing::ScopedTempDir dir;
    log_load_failure("load_sprite", "Media/hero.png", "not found");
    EXPECT_EQ(testing::read_file(dir.file("ErrorLog.txt")),
              "load_sprite: cannot load \"Media/hero.png\": not found\n");
}

TEST(FailureReport, AFatalCauseGoesToStandardErrorBeforeTheExit) {
    EXPECT_EXIT(end_program_because("array index 10 is outside 0..9"), ::testing::ExitedWithCode(0),
                "^vexel: array index 10 is outside 0\\.\\.9\n$");
}

// Each fatal fault keeps its exit code 0 and "exit", and says on standard error what it was.
TEST(FailureReport, EveryFatalFaultNamesItsCause) {
    testing::ScopedTempDir dir;
    const std::string written = dir.file("two-bytes.bin");
    std::FILE* file = std::fopen(written.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("ab", file);
    std::fclose(file);

    struct Case {
        std::function<void()> fault;
        const char* cause;  // a regular expression for the line before the exit
    };
    const Case cases[] = {
        {[] {
             DynArray<double> a;
             a.dim(10);
             a.at(10);
         },
         "vexel: array index 10 is outside 0\\.\\.9"},
        {[] {
             DynArray<int32_t> a;
             a.dim(4, 10);
             a.at(2, 10);
         },
         "vexel: array index \\(2, 10\\) is outside \\(0\\.\\.3, 0\\.\\.9\\)"},
        {[] {
             DynArray<double> a;
             a.dim(2, 2);
             a.push(1);
         },
         "vexel: push on an array of more than one dimension"},
        {[] {
             int32_t value = 0;
             read_int32(3, value);
         },
         "vexel: file channel 3 is not open"},
        {[&written] {
             int32_t value = 0;
             open_file(2, written.c_str(), 1);
             read_int32(2, value);
         },
         "vexel: file channel 2: read past the end of the file"},
        {[] {
             DynString line;
             read_line(9, line);
         },
         "vexel: file channel 9 does not exist \\(channels are 0\\.\\.7\\)"},
        {[] {
             static const DataItem items[] = {{1, nullptr}};
             DataBlock block{items, 1, 0};
             restore_data(block);
             double value = 0;
             read_data(value);
             read_data(value);
         },
         "vexel: read_data: no more data"},
        {[] { assert_value(0); }, "vexel: assertion failed: assert_value\\(0\\)"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStdout();
        EXPECT_EXIT(c.fault(), ::testing::ExitedWithCode(0), std::string(c.cause) + "\n$");
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "exit\n") << c.cause;
    }
}

}  // namespace
}  // namespace vexel
