#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/data_list.h>
#include <vexel/error.h>

namespace vexel {
namespace {

const DataItem kItems[] = {
    {2.5, nullptr},
    {0, "hello"},
    {0, " 42abc"},
    {-3.9, nullptr},
    {0, "1e1"},
    {1e12, nullptr},
    {std::numeric_limits<double>::quiet_NaN(), nullptr},
    {-1e12, nullptr},
};

TEST(DataList, ReadsTextItemsAndNumberItemsIntoText) {
    DataBlock block{kItems, 2};
    restore_data(block);
    DynString text("old");
    read_data(text);
    EXPECT_STREQ(text.c_str(), "2.5");
    read_data(text);
    EXPECT_STREQ(text.c_str(), "hello");
    EXPECT_EQ(block.cursor, 2);
}

TEST(DataList, ConvertsForNumberTargets) {
    DataBlock block{kItems, 8};
    restore_data(block);
    double number = 0;
    read_data(number);
    EXPECT_EQ(number, 2.5);
    read_data(number);
    EXPECT_EQ(number, 0);  // "hello" is no number
    read_data(number);
    EXPECT_EQ(number, 42);

    int32_t whole = 0;
    read_data(whole);
    EXPECT_EQ(whole, -3);  // truncated toward zero
    read_data(whole);
    EXPECT_EQ(whole, 1);  // atoi stops at the 'e'
    read_data(whole);
    EXPECT_EQ(whole, std::numeric_limits<int32_t>::max());
    read_data(whole);
    EXPECT_EQ(whole, 0);
    read_data(whole);
    EXPECT_EQ(whole, std::numeric_limits<int32_t>::min());

    restore_data(block);
    read_data(whole);
    EXPECT_EQ(whole, 2);
    read_data(whole);
    read_data(whole);
    EXPECT_EQ(whole, 42);
    read_data(number);
    read_data(number);
    EXPECT_EQ(number, 10);
}

TEST(DataList, RestoreSwitchesAndRewindsBlocks) {
    const DataItem first_items[] = {{1, nullptr}, {2, nullptr}};
    const DataItem second_items[] = {{0, "b"}};
    DataBlock first{first_items, 2};
    DataBlock second{second_items, 1};
    double number = 0;
    restore_data(first);
    read_data(number);
    restore_data(second);
    DynString text;
    read_data(text);
    EXPECT_STREQ(text.c_str(), "b");
    restore_data(first);
    read_data(number);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(second.cursor, 1);
}

int g_value = 0;
double report_on_quit() {
    std::printf("error %d value %d\n", last_error_code(), g_value);
    return 0;
}
const CallbackEntry kReportTable[] = {{report_on_quit, "VXL_ON_QUIT"}, {nullptr, nullptr}};

TEST(DataList, ReadingPastTheEndEndsTheProgramWithOutOfData) {
    set_callback_table(kReportTable);
    DataBlock block{kItems, 1};
    restore_data(block);
    read_data(g_value);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            g_value = 5;
            read_data(g_value);
        },
        ::testing::ExitedWithCode(0), "^vexel: read_data: no more data\nerror 20 value 5\nexit\n$");
}

TEST(DataList, ReadingWithoutABlockEndsTheProgram) {
    set_callback_table(kReportTable);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            DynString text;
            read_data(text);
        },
        ::testing::ExitedWithCode(0), "^vexel: read_data: no more data\nerror 20 value 0\nexit\n$");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            double number = 0;
            read_data(number);
        },
        ::testing::ExitedWithCode(0), "exit\n");
}

TEST(DataList, EmptyAndBrokenBlocksAreOutOfData) {
    DataBlock empty{kItems, 0};
    restore_data(empty);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            int32_t whole = 0;
            read_data(whole);
        },
        ::testing::ExitedWithCode(0), "exit\n");
    DataBlock no_items{nullptr, 3};
    restore_data(no_items);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            DynString text;
            read_data(text);
        },
        ::testing::ExitedWithCode(0), "exit\n");
}

}  // namespace
}  // namespace vexel
