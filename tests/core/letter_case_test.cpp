#include <gtest/gtest.h>

#include <string>

#include <vexel/text.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using namespace std::string_literals;
using testing::bytes;
using testing::text_of;

TEST(LetterCase, CopiesWithEachByteConverted) {
    const DynString original("Hello, World 42!");
    EXPECT_EQ(bytes(upper(original)), "HELLO, WORLD 42!");
    EXPECT_EQ(bytes(lower(original)), "hello, world 42!");
    EXPECT_EQ(bytes(original), "Hello, World 42!");
    EXPECT_EQ(bytes(upper("")), "");
}

TEST(LetterCase, InPlaceConvertsTheWholeLengthPastZeroBytes) {
    DynString s = text_of("ab\0cd"s);
    upper_in_place(s);
    EXPECT_EQ(bytes(s), "AB\0CD"s);
    lower_in_place(s);
    EXPECT_EQ(bytes(s), "ab\0cd"s);
    DynString empty;
    upper_in_place(empty);
    EXPECT_TRUE(empty.uses_shared_buffer());
}

TEST(LetterCase, BytesOutsideTheLettersAreKept) {
    // The C locale folds only ASCII letters; high bytes pass through.
    EXPECT_EQ(bytes(upper("\xe9z\x80[`{")), "\xe9Z\x80[`{");
    EXPECT_EQ(bytes(lower("\xc9Z@")), "\xc9z@");
}

}  // namespace
}  // namespace vexel
