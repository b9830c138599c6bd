#include <gtest/gtest.h>

#include <string>

#include <vexel/text.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using namespace std::string_literals;
using testing::bytes;
using testing::text_of;

TEST(Mid, TakesCountBytesFromStart) {
    EXPECT_EQ(bytes(mid("hello", 1, 3)), "ell");
    EXPECT_EQ(bytes(mid("hello", 0, 5)), "hello");
    EXPECT_EQ(bytes(mid("hello", 4, 1)), "o");
}

TEST(Mid, NegativeOrExcessCountRunsToTheEnd) {
    EXPECT_EQ(bytes(mid("hello", 3, -1)), "lo");
    EXPECT_EQ(bytes(mid("hello", 0, -7)), "hello");
    EXPECT_EQ(bytes(mid("hello", 2, 100)), "llo");
    EXPECT_EQ(bytes(mid("hello", 2, INT32_MAX)), "llo");
}

TEST(Mid, OutOfRangeGivesEmptyText) {
    EXPECT_EQ(bytes(mid("hello", 5, 1)), "");
    EXPECT_EQ(bytes(mid("hello", -1, 2)), "");
    EXPECT_EQ(bytes(mid("hello", 1, 0)), "");
    EXPECT_EQ(bytes(mid("hello", INT32_MIN, -1)), "");
    EXPECT_EQ(bytes(mid("", 0, -1)), "");
    EXPECT_TRUE(mid("hello", 9, 1).uses_shared_buffer());
}

TEST(Mid, KeepsZeroBytes) {
    EXPECT_EQ(bytes(mid(text_of("a\0b\0c"s), 1, 3)), "\0b\0"s);
    EXPECT_EQ(bytes(mid(text_of("a\0b\0c"s), 2, -1)), "b\0c"s);
}

TEST(Trim, DropsLeadingOrTrailingBytesOfTheSet) {
    EXPECT_EQ(bytes(trim_left("  \thi  ", " \t")), "hi  ");
    EXPECT_EQ(bytes(trim_right("  hi \t ", " \t")), "  hi");
    EXPECT_EQ(bytes(trim_left("xxyhix", "xy")), "hix");
    EXPECT_EQ(bytes(trim_right("xhiyxy", "xy")), "xhi");
}

TEST(Trim, AllOrNothingInTheSet) {
    EXPECT_EQ(bytes(trim_left("aaaa", "a")), "");
    EXPECT_EQ(bytes(trim_right("aaaa", "a")), "");
    EXPECT_EQ(bytes(trim_left("", "a")), "");
    EXPECT_EQ(bytes(trim_right("", "a")), "");
    EXPECT_EQ(bytes(trim_left("  a ", "")), "  a ");
    EXPECT_EQ(bytes(trim_right("  a ", "")), "  a ");
    EXPECT_EQ(bytes(trim_left("abc", "x")), "abc");
}

TEST(Trim, ZeroBytesAreTrimmedOnlyWhenInTheSet) {
    EXPECT_EQ(bytes(trim_right(text_of("ab\0\0"s), text_of("\0"s))), "ab");
    EXPECT_EQ(bytes(trim_right(text_of("ab\0"s), "b")), "ab\0"s);
    EXPECT_EQ(bytes(trim_left(text_of("\0 a"s), text_of(" \0"s))), "a");
}

}  // namespace
}  // namespace vexel
