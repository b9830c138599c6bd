#include <gtest/gtest.h>

#include <string>

#include <vexel/text.h>

#include "support/text_bytes.h"

namespace vexel {
namespace {

using namespace std::string_literals;
using testing::bytes;
using testing::text_of;

TEST(UrlEncode, KeepsLettersAndDigitsAndEscapesTheRestInLowerCase) {
    EXPECT_EQ(bytes(url_encode("a b/")), "a%20b%2f");
    EXPECT_EQ(bytes(url_encode("AZaz09")), "AZaz09");
    EXPECT_EQ(bytes(url_encode("-_.~")), "%2d%5f%2e%7e");
    EXPECT_EQ(bytes(url_encode("\x7f\x01")), "%7f%01");
    EXPECT_EQ(bytes(url_encode("")), "");
}

TEST(UrlEncode, ZeroBytesAreEscaped) {
    EXPECT_EQ(bytes(url_encode(text_of("a\0b"s))), "a%00b");
}

TEST(UrlEncode, HighBytesBecomeTheirTwoByteUtf8Form) {
    EXPECT_EQ(bytes(url_encode("\xe9")), "%c3%a9");  // é
    EXPECT_EQ(bytes(url_encode("\xc0")), "%c3%80");  // first byte of the 0xc3 range
    EXPECT_EQ(bytes(url_encode("\xbf")), "%c2%bf");  // last byte of the 0xc2 range
    EXPECT_EQ(bytes(url_encode("\x80")), "%c2%80");
    EXPECT_EQ(bytes(url_encode("\xff")), "%c3%bf");
    EXPECT_EQ(bytes(url_encode("caf\xe9!")), "caf%c3%a9%21");
}

TEST(UrlDecode, PlusAndEscapesBecomeBytes) {
    EXPECT_EQ(bytes(url_decode("a+b%41")), "a bA");
    EXPECT_EQ(bytes(url_decode("%2f%2F%7e")), "//~");
    EXPECT_EQ(bytes(url_decode("plain")), "plain");
    EXPECT_EQ(bytes(url_decode("")), "");
}

TEST(UrlDecode, BrokenEscapesAreDropped) {
    EXPECT_EQ(bytes(url_decode("%zq")), "q");
    EXPECT_EQ(bytes(url_decode("a%4zb")), "azb");  // '%' and its one digit go, 'z' stays
    EXPECT_EQ(bytes(url_decode("%%41")), "41");
    EXPECT_EQ(bytes(url_decode("%4+")), " ");
}

TEST(UrlDecode, AnEscapeCutByTheEndIsDroppedWithoutReadingPastIt) {
    EXPECT_EQ(bytes(url_decode("ab%")), "ab");
    EXPECT_EQ(bytes(url_decode("ab%4")), "ab");
    // The text ends before its zero terminator is reached as an escape character.
    EXPECT_EQ(bytes(url_decode(mid("x%4142", 0, 3))), "x");
}

TEST(UrlDecode, DecodedZeroBytesAreKept) {
    EXPECT_EQ(bytes(url_decode("a%00b")), "a\0b"s);
    EXPECT_EQ(bytes(url_decode(text_of("a\0%41"s))), "a\0A"s);
}

TEST(UrlDecode, ResultIsFoldedFromUtf8) {
    EXPECT_EQ(bytes(url_decode("caf%c3%a9")), "caf\xe9");
    EXPECT_EQ(bytes(url_decode("%e2%82%ac")), " ");  // the euro sign has no 8-bit byte
}

TEST(UrlRoundTrip, EveryByteSurvivesEncodingAndDecoding) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(bytes(url_decode(url_encode(text_of(all)))), all);
}

TEST(Utf8To8Bit, TwoByteSequencesBecomeTheirCodePoint) {
    DynString s = text_of("a\xc3\xa9z\xc2\xa0"s);
    utf8_to_8bit(s);
    EXPECT_EQ(bytes(s), "a\xe9z\xa0");
    DynString beyond = text_of("\xc4\x80!"s);  // U+0100
    utf8_to_8bit(beyond);
    EXPECT_EQ(bytes(beyond), " !");
}

TEST(Utf8To8Bit, ThreeByteSequencesBecomeTheirLowByteOrASpace) {
    DynString euro = text_of("1\xe2\x82\xac"s);
    utf8_to_8bit(euro);
    EXPECT_EQ(bytes(euro), "1 ");
    DynString overlong = text_of("\xe0\x83\xa9x"s);  // U+00E9 written in three bytes
    utf8_to_8bit(overlong);
    EXPECT_EQ(bytes(overlong), "\xe9x");
}

TEST(Utf8To8Bit, SequencesRunningPastTheEndAreDropped) {
    DynString two = text_of("ab\xc3"s);
    utf8_to_8bit(two);
    EXPECT_EQ(bytes(two), "ab");
    DynString three = text_of("ab\xe2\x82"s);
    utf8_to_8bit(three);
    EXPECT_EQ(bytes(three), "ab");
    DynString lead_only = text_of("\xe2"s);
    utf8_to_8bit(lead_only);
    EXPECT_EQ(bytes(lead_only), "");
}

TEST(Utf8To8Bit, StrayHighBytesAreDroppedAndFollowingTextKept) {
    DynString s = text_of(
        "a\x80\xbf"
        "b\xf0\x9f\x98\x80"
        "c"s);  // continuations, a 4-byte form
    utf8_to_8bit(s);
    EXPECT_EQ(bytes(s), "abc");
    // A lead byte not followed by a continuation byte does not swallow the next character.
    DynString latin = text_of(
        "\xe9t\xe9"
        "a\xc3"
        "b"s);
    utf8_to_8bit(latin);
    EXPECT_EQ(bytes(latin), "tab");
}

TEST(Utf8To8Bit, PlainTextAndZeroBytesPassUnchanged) {
    DynString s = text_of("plain\0text"s);
    utf8_to_8bit(s);
    EXPECT_EQ(bytes(s), "plain\0text"s);
    DynString empty;
    utf8_to_8bit(empty);
    EXPECT_TRUE(empty.uses_shared_buffer());
}

}  // namespace
}  // namespace vexel
