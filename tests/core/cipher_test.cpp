#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

#include <vexel/cipher.h>

#include "core/blowfish.h"

namespace vexel {
namespace {

DynString bytes_text(const std::string& bytes) {
    DynString text;
    text.append(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return text;
}

std::string upper_case(const DynString& text) {
    std::string out(text.c_str(), text.length());
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

TEST(Encrypt, PadsToWholeBlocksOfLowerCaseHex) {
    const DynString key("secret");
    EXPECT_EQ(encrypt(key, "abc").length(), 16u);
    EXPECT_EQ(encrypt(key, "abcdefgh").length(), 16u);
    EXPECT_EQ(encrypt(key, "abcdefghi").length(), 32u);
    EXPECT_EQ(encrypt(key, "").length(), 0u);
    const DynString hex = encrypt(key, "some longer text to encrypt");
    EXPECT_EQ(hex.length(), 64u);
    for (uint32_t i = 0; i < hex.length(); ++i) {
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(hex[i])) &&
                    !std::isupper(static_cast<unsigned char>(hex[i])))
            << hex.c_str();
    }
}

TEST(Encrypt, PaddingIsZeroBytes) {
    const DynString key("k");
    EXPECT_EQ(encrypt(key, "abc"), encrypt(key, bytes_text(std::string("abc\0\0\0\0\0", 8))));
    EXPECT_NE(encrypt(key, "abc"), encrypt(key, "abc     "));
}

TEST(Encrypt, BlocksAreLittleEndianWordsLeftHalfFirst) {
    // Blocks whose bytes are all equal read the same in either byte order, so the standard
    // answers show how the engine writes the cipher words back.
    EXPECT_STREQ(
        encrypt(bytes_text(std::string(8, '\0')), bytes_text(std::string(8, '\0'))).c_str(),
        "4597f94e78dd9861");
    EXPECT_STREQ(
        encrypt(bytes_text(std::string(8, '\xFF')), bytes_text(std::string(8, '\xFF'))).c_str(),
        "d56f86518acb5eb8");

    const std::string key = "engine key";
    const uint8_t plain[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    const Blowfish cipher(reinterpret_cast<const uint8_t*>(key.data()), 10);
    uint32_t left = 0x44434241;
    uint32_t right = 0x48474645;
    cipher.encrypt_block(left, right);
    char expected[17];
    std::snprintf(expected, sizeof expected, "%02x%02x%02x%02x%02x%02x%02x%02x", left & 0xff,
                  (left >> 8) & 0xff, (left >> 16) & 0xff, left >> 24, right & 0xff,
                  (right >> 8) & 0xff, (right >> 16) & 0xff, right >> 24);
    EXPECT_STREQ(encrypt(key.c_str(), bytes_text(std::string(plain, plain + 8))).c_str(), expected);
}

TEST(Decrypt, RoundTripsTextsWithoutZeroBytes) {
    const DynString key("a key of some length");
    std::string text;
    for (int length = 1; length <= 40; ++length) {
        text += static_cast<char>(1 + (length * 37) % 255);
        const DynString plain = bytes_text(text);
        const DynString hex = encrypt(key, plain);
        EXPECT_EQ(hex.length(), 16u * ((length + 7) / 8));
        const DynString back = decrypt(key, hex);
        ASSERT_EQ(back.length(), plain.length()) << length;
        EXPECT_EQ(std::string(back.c_str(), back.length()), text);
    }
    EXPECT_NE(decrypt("another key", encrypt(key, "hello")), DynString("hello"));
}

TEST(Decrypt, AcceptsUpperCaseHexAndLeavesItUnchanged) {
    const DynString key("K");
    const DynString hex(upper_case(encrypt(key, "Hello, World").c_str()).c_str());
    const DynString before = hex;
    EXPECT_STREQ(decrypt(key, hex).c_str(), "Hello, World");
    EXPECT_EQ(hex, before);
}

TEST(Decrypt, StopsAtTheFirstZeroByte) {
    const DynString key("K");
    EXPECT_STREQ(decrypt(key, encrypt(key, bytes_text(std::string("ab\0cdefghijk", 12)))).c_str(),
                 "ab");
}

TEST(Decrypt, MalformedHexStaysInsideTheInput) {
    const DynString key("K");
    const DynString hex = encrypt(key, "sixteen bytes!!!");
    // A lone last digit is ignored.
    EXPECT_STREQ(decrypt(key, hex + "7").c_str(), "sixteen bytes!!!");
    // A partial block is decrypted with zero fill: at most one block of bytes comes back.
    EXPECT_LE(decrypt(key, "0123456789").length(), 8u);
    EXPECT_TRUE(decrypt(key, "a").empty());
    // Characters that are no hex digits count as 0.
    EXPECT_EQ(decrypt(key, "zzzzzzzzzzzzzzzz"), decrypt(key, "0000000000000000"));
    EXPECT_LE(decrypt(key, "zz#!\x80\xff").length(), 8u);
}

TEST(Cipher, EmptyKeyGivesEmptyText) {
    EXPECT_TRUE(encrypt("", "text").empty());
    EXPECT_TRUE(decrypt("", "0123456789abcdef").empty());
    EXPECT_TRUE(decrypt("K", "").empty());
}

}  // namespace
}  // namespace vexel
