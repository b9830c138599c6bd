#include <gtest/gtest.h>

#include <vexel/error.h>

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
    EXPECT_EXIT(end_program_because("array index 10 is outside 0..9"),
                ::testing::ExitedWithCode(0), "^vexel: array index 10 is outside 0\\.\\.9\n$");
}

}  // namespace
}  // namespace vexel
