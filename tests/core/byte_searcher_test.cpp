#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "core/byte_searcher.h"

namespace vexel {
namespace {

using namespace std::string_literals;

uint32_t search_bytes(std::string_view haystack, std::string_view needle, uint32_t from = 0) {
    const ByteSearcher searcher(needle.data(), static_cast<uint32_t>(needle.size()));
    return searcher.find_in(haystack.data(), static_cast<uint32_t>(haystack.size()), from);
}

constexpr uint32_t kNone = ByteSearcher::kNotFound;

TEST(ByteSearcher, EmptyOrShortInputsFindNothing) {
    EXPECT_EQ(search_bytes("abc", ""), kNone);
    EXPECT_EQ(search_bytes("", "a"), kNone);
    EXPECT_EQ(search_bytes("ab", "abc"), kNone);
    EXPECT_EQ(search_bytes("abc", "a", 3), kNone);
    EXPECT_EQ(search_bytes("abc", "a", 100), kNone);
    const ByteSearcher missing(nullptr, 4);
    EXPECT_EQ(missing.find_in("abcd", 4, 0), kNone);
    const ByteSearcher needle("a", 1);
    EXPECT_EQ(needle.find_in(nullptr, 4, 0), kNone);
}

TEST(ByteSearcher, EqualLengthsCompareDirectly) {
    EXPECT_EQ(search_bytes("abc", "abc"), 0u);
    EXPECT_EQ(search_bytes("abc", "abd"), kNone);
    EXPECT_EQ(search_bytes("xabc", "abc", 1), 1u);
}

TEST(ByteSearcher, FindsMatchesAtTheVeryEnd) {
    EXPECT_EQ(search_bytes("xxxxxxxxab", "ab"), 8u);
    EXPECT_EQ(search_bytes("abcdefgh", "h"), 7u);
    EXPECT_EQ(search_bytes("aaaaaaaab", "aab"), 6u);
}

TEST(ByteSearcher, NeedlesWithRepeatedBytesUseTheirLastPlaceForTheSkip) {
    // The skip of 'a' must be 1 (its last place before the end), not 3: a wrong table jumps
    // over the match that starts one byte later.
    EXPECT_EQ(search_bytes("xabab", "abab"), 1u);
    EXPECT_EQ(search_bytes("aabaab", "aab", 1), 3u);
    EXPECT_EQ(search_bytes("abcabcabd", "abcabd"), 3u);
    EXPECT_EQ(search_bytes("baaaab", "aaab"), 2u);
    // Needles long enough for the skip table.
    EXPECT_EQ(search_bytes("xabababababab", "abababab"), 1u);
    EXPECT_EQ(search_bytes("aaaaaaaabaaaaaaaab", "aaaaaaaab", 1), 9u);
    EXPECT_EQ(search_bytes("abcdefgabcdefgabcdefgh", "abcdefgh"), 14u);
}

TEST(ByteSearcher, ZeroBytesAreOrdinaryBytes) {
    const std::string haystack = "ab\0cd\0\0ef"s;
    EXPECT_EQ(search_bytes(haystack, "\0"s), 2u);
    EXPECT_EQ(search_bytes(haystack, "\0\0"s), 5u);
    EXPECT_EQ(search_bytes(haystack, "\0ef"s), 6u);
    EXPECT_EQ(search_bytes(haystack, "\0\0\0"s), kNone);
}

TEST(ByteSearcher, HighBytesIndexTheSkipTableUnsigned) {
    EXPECT_EQ(search_bytes("\x01\xff\xfe\x80", "\xfe\x80"), 2u);
    EXPECT_EQ(search_bytes("\xff\xff\xff\x80\xff", "\xff\x80\xff"), 2u);
}

TEST(ByteSearcher, AgreesWithTheStandardSearchOnRandomTexts) {
    // A small alphabet with a zero byte makes partial matches and repeats frequent.
    std::mt19937 random(12345);
    const char alphabet[] = {'a', 'b', '\0', '\xe9'};
    auto random_text = [&](size_t length) {
        std::string text(length, 'a');
        for (char& c : text)
            c = alphabet[random() % 4];
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        const std::string haystack = random_text(random() % 60);
        // Short needles and needles long enough for the skip table; half of them are taken from
        // the haystack so that long ones match too.
        std::string needle = random_text(1 + random() % 12);
        if (round % 2 && needle.size() <= haystack.size()) {
            needle =
                haystack.substr(random() % (haystack.size() - needle.size() + 1), needle.size());
        }
        const uint32_t from = static_cast<uint32_t>(random() % 62);
        const size_t expected =
            from <= haystack.size() ? haystack.find(needle, from) : std::string::npos;
        const uint32_t found = search_bytes(haystack, needle, from);
        if (expected == std::string::npos) {
            ASSERT_EQ(found, kNone) << round;
        } else {
            ASSERT_EQ(found, expected) << round;
        }
    }
}

}  // namespace
}  // namespace vexel
