#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include <vexel/text.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using namespace std::string_literals;
using testing::text_of;

TEST(Find, ReportsTheFirstOccurrenceAtOrAfterStart) {
    EXPECT_EQ(find("abcabc", "c", 3), 5);
    EXPECT_EQ(find("abcabc", "c", 0), 2);
    EXPECT_EQ(find("abcabc", "abc", 1), 3);
    EXPECT_EQ(find("abc", "x", 0), -1);
    EXPECT_EQ(find("abc", "abc", 0), 0);
    EXPECT_EQ(find("hello world", "world", 0), 6);
}

TEST(Find, EmptyNeedleOrStartPastTheEndFindsNothing) {
    EXPECT_EQ(find("abc", "", 0), -1);
    EXPECT_EQ(find("abc", "c", 3), -1);
    EXPECT_EQ(find("abc", "c", 99), -1);
    EXPECT_EQ(find("", "a", 0), -1);
    EXPECT_EQ(find("", "", 0), -1);
    EXPECT_EQ(find("ab", "abc", 0), -1);
}

TEST(Find, NegativeStartCountsAsZero) {
    EXPECT_EQ(find("abcabc", "a", -1), 0);
    EXPECT_EQ(find("abcabc", "bc", INT32_MIN), 1);
    EXPECT_EQ(find("abc", "x", -5), -1);
}

TEST(Find, SearchesPastZeroBytesInsideTheText) {
    const DynString haystack = text_of("ab\0cd\0ef"s);
    EXPECT_EQ(find(haystack, "ef", 0), 6);
    EXPECT_EQ(find(haystack, text_of("\0"s), 3), 5);
    EXPECT_EQ(find(haystack, text_of("d\0e"s), 0), 4);
}

TEST(Find, RepeatedBytesAndMatchesAtTheEnd) {
    EXPECT_EQ(find("aaaaab", "aab", 0), 3);
    EXPECT_EQ(find("abababac", "abac", 0), 4);
    EXPECT_EQ(find("xyzxyzxy", "xy", 4), 6);
}

TEST(FindLast, ReportsTheLastOccurrenceBeginningAtOrBeforeStart) {
    EXPECT_EQ(find_last("abcabc", "abc", -1), 3);
    EXPECT_EQ(find_last("abcabc", "abc", 2), 0);
    EXPECT_EQ(find_last("abcabc", "abc", 3), 3);
    EXPECT_EQ(find_last("abcabc", "abc", 100), 3);
    EXPECT_EQ(find_last("abcabc", "c", -1), 5);
    EXPECT_EQ(find_last("abcabc", "x", -1), -1);
    EXPECT_EQ(find_last("abcabc", "bc", 0), -1);
}

TEST(FindLast, NegativeStartBeforeTheTextFindsNothing) {
    EXPECT_EQ(find_last("ab", "abc", -1), -1);
    EXPECT_EQ(find_last("", "a", -1), -1);
    EXPECT_EQ(find_last("abc", "", -1), -1);
}

TEST(FindLast, CountsOverlappingOccurrences) {
    EXPECT_EQ(find_last("aaaa", "aa", -1), 2);
    EXPECT_EQ(find_last("aaaa", "aa", 1), 1);
    EXPECT_EQ(find_last(text_of("\0\0\0"s), text_of("\0"s), -1), 2);
}

TEST(FindLast, AgreesWithTheStandardReverseSearch) {
    std::mt19937 random(777);
    auto random_text = [&](size_t length) { return testing::random_ab0_text(random, length); };
    for (int round = 0; round < 2000; ++round) {
        const std::string haystack = random_text(random() % 30);
        const std::string needle = random_text(1 + random() % 4);
        const int32_t start = static_cast<int32_t>(random() % 34) - 2;
        const int64_t limit = start < 0 ? int64_t(haystack.size()) - int64_t(needle.size()) : start;
        const size_t expected = limit < 0 ? std::string::npos : haystack.rfind(needle, limit);
        const int32_t found = find_last(text_of(haystack), text_of(needle), start);
        ASSERT_EQ(found, expected == std::string::npos ? -1 : int32_t(expected)) << round;
    }
}

TEST(FindFirstOf, ReportsThePositionOfTheFirstByteInTheSet) {
    EXPECT_EQ(find_first_of("hello, world", " ,"), 5);
    EXPECT_EQ(find_first_of("hello", "o"), 4);
    EXPECT_EQ(find_first_of("hello", "xyz"), -1);
    EXPECT_EQ(find_first_of("hello", ""), -1);
    EXPECT_EQ(find_first_of("", "abc"), -1);
    EXPECT_EQ(find_first_of(text_of("ab\0c"s), "c"), 3);
    EXPECT_EQ(find_first_of(text_of("ab\0c"s), text_of("\0"s)), 2);
    EXPECT_EQ(find_first_of("a\xe9", "\xe9"), 1);
}

TEST(FindFirstNotOf, ReportsThePositionOfTheFirstByteOutsideTheSet) {
    EXPECT_EQ(find_first_not_of("   x ", " "), 3);
    EXPECT_EQ(find_first_not_of("abc", ""), 0);
    EXPECT_EQ(find_first_not_of("aaa", "a"), -1);
    EXPECT_EQ(find_first_not_of("", "a"), -1);
    EXPECT_EQ(find_first_not_of(text_of("\0\0z"s), text_of("\0"s)), 2);
    // A zero byte that is not in the set is a byte like any other.
    EXPECT_EQ(find_first_not_of(text_of("aa\0"s), "a"), 2);
}

}  // namespace
}  // namespace vexel
