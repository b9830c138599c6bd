#include <gtest/gtest.h>

#include <vexel/app.h>

namespace vexel {
namespace {

int g_pauses = 0;
int g_resumes = 0;
int g_other = 0;
double on_pause() {
    return ++g_pauses;
}
double on_resume() {
    return ++g_resumes;
}
double other() {
    return ++g_other;
}

const CallbackEntry kTable[] = {{on_pause, "VXL_ON_PAUSE"},
                                {on_resume, "VXL_ON_RESUME"},
                                {other, "Other"},
                                {other, "VXL_ON_PAUSE"},  // a later duplicate is never reached
                                {nullptr, nullptr}};

class Callbacks : public ::testing::Test {
protected:
    void SetUp() override {
        g_pauses = g_resumes = g_other = 0;
        set_callback_table(kTable);
    }
    void TearDown() override { set_callback_table(nullptr); }
};

TEST_F(Callbacks, FindIsExactAndCaseSensitive) {
    EXPECT_EQ(find_callback("VXL_ON_PAUSE"), &on_pause);
    EXPECT_EQ(find_callback("Other"), &other);
    EXPECT_EQ(find_callback("other"), nullptr);
    EXPECT_EQ(find_callback("VXL_ON_PAUS"), nullptr);
    EXPECT_EQ(find_callback(nullptr), nullptr);
    EXPECT_EQ(call_by_name("Other"), 1);
    EXPECT_EQ(g_other, 1);
    EXPECT_EQ(call_by_name("Missing"), 0);
    set_callback_table(nullptr);
    EXPECT_EQ(find_callback("Other"), nullptr);
    EXPECT_EQ(call_by_name("Other"), 0);
}

TEST_F(Callbacks, PauseFiresOncePerChange) {
    set_paused(1);
    set_paused(1);
    EXPECT_EQ(is_paused(), 1);
    EXPECT_EQ(g_pauses, 1);
    set_paused(0);
    set_paused(0);
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(g_resumes, 1);
}

TEST_F(Callbacks, PauseWithoutAutopauseCountsAsResume) {
    set_autopause(0);
    set_paused(1);
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(g_pauses, 0);
    EXPECT_EQ(g_resumes, 0);
    set_autopause(1);
}

TEST_F(Callbacks, TurningAutopauseOffWhilePausedResumes) {
    set_paused(1);
    set_autopause(0);
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(get_autopause(), 0);
    EXPECT_EQ(g_resumes, 1);
    set_autopause(1);
    EXPECT_EQ(g_resumes, 1);
}

}  // namespace
}  // namespace vexel
