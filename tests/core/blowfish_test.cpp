#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/blowfish.h"

namespace vexel {
namespace {

uint32_t load_be(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 |
           uint32_t{bytes[3]};
}

struct KnownAnswer {
    uint8_t key[8];
    uint8_t plain[8];
    uint32_t cipher_left;
    uint32_t cipher_right;
};

// Standard test vectors, blocks in big-endian byte order.
const KnownAnswer kVectors[] = {
    {{0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, 0x4EF99745, 0x6198DD78},
    {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     0x51866FD5,
     0xB85ECB8A},
    {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
     {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11},
     0x61F9C380,
     0x2281B096},
};

TEST(Blowfish, MatchesTheKnownAnswersBothWays) {
    for (const KnownAnswer& v : kVectors) {
        const Blowfish cipher(v.key, 8);
        uint32_t left = load_be(v.plain);
        uint32_t right = load_be(v.plain + 4);
        cipher.encrypt_block(left, right);
        EXPECT_EQ(left, v.cipher_left);
        EXPECT_EQ(right, v.cipher_right);
        cipher.decrypt_block(left, right);
        EXPECT_EQ(left, load_be(v.plain));
        EXPECT_EQ(right, load_be(v.plain + 4));
    }
}

TEST(Blowfish, ConsumesTheKeyCyclically) {
    const std::string short_key = "ab";
    const std::string repeated_key(72, 'a');
    std::string cycled;
    while (cycled.size() < 72)
        cycled += short_key;
    const auto bytes = [](const std::string& s) {
        return reinterpret_cast<const uint8_t*>(s.data());
    };

    const Blowfish once(bytes(short_key), 2);
    const Blowfish spelled_out(bytes(cycled), 72);
    const Blowfish other(bytes(repeated_key), 72);
    uint32_t l1 = 1, r1 = 2, l2 = 1, r2 = 2, l3 = 1, r3 = 2;
    once.encrypt_block(l1, r1);
    spelled_out.encrypt_block(l2, r2);
    other.encrypt_block(l3, r3);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(r1, r2);
    EXPECT_NE(l1, l3);
}

TEST(Blowfish, OddKeyLengthsRoundTrip) {
    const uint8_t key[] = {7, 0, 200, 13, 99};
    const Blowfish cipher(key, sizeof key);
    uint32_t left = 0xDEADBEEF;
    uint32_t right = 0x01234567;
    cipher.encrypt_block(left, right);
    EXPECT_NE(left, 0xDEADBEEFu);
    cipher.decrypt_block(left, right);
    EXPECT_EQ(left, 0xDEADBEEFu);
    EXPECT_EQ(right, 0x01234567u);
}

}  // namespace
}  // namespace vexel
