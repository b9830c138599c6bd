#include <gtest/gtest.h>

#include <random>
#include <string>

#include <vexel/error.h>
#include <vexel/text.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using namespace std::string_literals;
using testing::bytes;
using testing::text_of;

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
    EXPECT_EQ(bytes(replace_all("aaa", "a", "bb")), "bbbbbb");
    EXPECT_EQ(bytes(replace_all("aabb", "ab", "")), "ab");
    EXPECT_EQ(bytes(replace_all("abc", "b", "x")), "axc");
    EXPECT_EQ(bytes(replace_all("one two one", "one", "three")), "three two three");
    EXPECT_EQ(bytes(replace_all("abcabc", "abc", "xyz")), "xyzxyz");
}

TEST(ReplaceAll, OccurrencesDoNotOverlap) {
    EXPECT_EQ(bytes(replace_all("aaaa", "aa", "b")), "bb");
    EXPECT_EQ(bytes(replace_all("aaa", "aa", "b")), "ba");
    EXPECT_EQ(bytes(replace_all("ababa", "aba", "x")), "xba");
}

TEST(ReplaceAll, InsertedTextIsNeverSearchedAgain) {
    // Each replacement contains the target; searching it again would never end.
    EXPECT_EQ(bytes(replace_all("xax", "a", "aa")), "xaax");
    EXPECT_EQ(bytes(replace_all("a.a", "a", "<a>")), "<a>.<a>");
    // A replacement that completes a target with the following text is skipped too.
    EXPECT_EQ(bytes(replace_all("abb", "ab", "a")), "ab");
    EXPECT_EQ(bytes(replace_all("aab", "ab", "b")), "ab");
}

TEST(ReplaceAll, MatchesAtTheEdges) {
    EXPECT_EQ(bytes(replace_all("abcab", "ab", "X")), "XcX");
    EXPECT_EQ(bytes(replace_all("ab", "ab", "")), "");
    EXPECT_EQ(bytes(replace_all("ab", "ab", "longer")), "longer");
}

TEST(ReplaceAll, NothingToReplaceGivesACopy) {
    EXPECT_EQ(bytes(replace_all("abc", "x", "y")), "abc");
    EXPECT_EQ(bytes(replace_all("abc", "", "y")), "abc");
    EXPECT_EQ(bytes(replace_all("", "a", "y")), "");
    EXPECT_EQ(bytes(replace_all("ab", "abc", "y")), "ab");
}

TEST(ReplaceAll, ZeroBytesSurviveInEveryPart) {
    EXPECT_EQ(bytes(replace_all(text_of("a\0b\0c"s), text_of("\0"s), "-")), "a-b-c");
    EXPECT_EQ(bytes(replace_all(text_of("a\0b"s), "b", text_of("\0\0"s))), "a\0\0\0"s);
    EXPECT_EQ(bytes(replace_all(text_of("x\0yx"s), "x", "zz")), "zz\0yzz"s);
}

TEST(ReplaceAll, AgreesWithASpliceLoopOnRandomTexts) {
    // The splice loop works on a copy and resumes after each inserted replacement.
    auto reference = [](std::string s, const std::string& target, const std::string& with) {
        for (size_t at = 0; at < s.size();) {
            const size_t hit = s.find(target, at);
            if (hit == std::string::npos) break;
            s.replace(hit, target.size(), with);
            at = hit + with.size();
        }
        return s;
    };
    std::mt19937 random(4242);
    auto random_text = [&](size_t length) { return testing::random_ab0_text(random, length); };
    for (int round = 0; round < 2000; ++round) {
        const std::string s = random_text(random() % 24);
        const std::string target = random_text(1 + random() % 3);
        const std::string with = random_text(random() % 4);
        ASSERT_EQ(bytes(replace_all(text_of(s), text_of(target), text_of(with))),
                  reference(s, target, with))
            << round;
    }
}

TEST(ReplaceAll, AResultTooLongForATextGivesEmptyTextAndOutOfMemory) {
    clear_error_record();
    const std::string many(70000, 'a');
    const std::string wide(70000, 'b');  // 70000 * 70000 bytes do not fit 32-bit lengths
    const DynString result = replace_all(text_of(many), "a", text_of(wide));
    EXPECT_EQ(result.length(), 0u);
    EXPECT_EQ(last_error_code(), 7);
}

}  // namespace
}  // namespace vexel
