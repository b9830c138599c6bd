#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include <vexel/math.h>

#include "core/isaac.h"

namespace vexel {
namespace {

// A plain transcription of the published reference ISAAC (rand.h / readable.c), kept apart
// from the engine's code so that the two check each other.
struct ReferenceIsaac {
    uint32_t randrsl[256];
    uint32_t mm[256];
    uint32_t aa, bb, cc;

    void isaac() {
        uint32_t i, x, y;
        cc = cc + 1;
        bb = bb + cc;
        for (i = 0; i < 256; ++i) {
            x = mm[i];
            switch (i % 4) {
                case 0:
                    aa = aa ^ (aa << 13);
                    break;
                case 1:
                    aa = aa ^ (aa >> 6);
                    break;
                case 2:
                    aa = aa ^ (aa << 2);
                    break;
                case 3:
                    aa = aa ^ (aa >> 16);
                    break;
            }
            aa = mm[(i + 128) % 256] + aa;
            mm[i] = y = mm[(x >> 2) % 256] + aa + bb;
            randrsl[i] = bb = mm[(y >> 10) % 256] + x;
        }
    }

    // clang-format off
    static void mix(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, uint32_t& e, uint32_t& f,
                    uint32_t& g, uint32_t& h) {
        a ^= b << 11; d += a; b += c;
        b ^= c >> 2;  e += b; c += d;
        c ^= d << 8;  f += c; d += e;
        d ^= e >> 16; g += d; e += f;
        e ^= f << 10; h += e; f += g;
        f ^= g >> 4;  a += f; g += h;
        g ^= h << 8;  b += g; h += a;
        h ^= a >> 9;  c += h; a += b;
    }
    // clang-format on

    // randinit(TRUE): the result array is the seed material.
    // clang-format off
    void randinit() {
        uint32_t a, b, c, d, e, f, g, h;
        aa = bb = cc = 0;
        a = b = c = d = e = f = g = h = 0x9e3779b9;
        for (int i = 0; i < 4; ++i) mix(a, b, c, d, e, f, g, h);
        for (int i = 0; i < 256; i += 8) {
            a += randrsl[i]; b += randrsl[i + 1]; c += randrsl[i + 2]; d += randrsl[i + 3];
            e += randrsl[i + 4]; f += randrsl[i + 5]; g += randrsl[i + 6]; h += randrsl[i + 7];
            mix(a, b, c, d, e, f, g, h);
            mm[i] = a; mm[i + 1] = b; mm[i + 2] = c; mm[i + 3] = d;
            mm[i + 4] = e; mm[i + 5] = f; mm[i + 6] = g; mm[i + 7] = h;
        }
        for (int i = 0; i < 256; i += 8) {
            a += mm[i]; b += mm[i + 1]; c += mm[i + 2]; d += mm[i + 3];
            e += mm[i + 4]; f += mm[i + 5]; g += mm[i + 6]; h += mm[i + 7];
            mix(a, b, c, d, e, f, g, h);
            mm[i] = a; mm[i + 1] = b; mm[i + 2] = c; mm[i + 3] = d;
            mm[i + 4] = e; mm[i + 5] = f; mm[i + 6] = g; mm[i + 7] = h;
        }
        isaac();
    }
    // clang-format on

    explicit ReferenceIsaac(uint32_t seed) {
        for (uint32_t& word : randrsl)
            word = 0;
        randrsl[0] = seed;
        randinit();
    }
};

TEST(Isaac, MatchesTheReferenceForTheAllZeroResultArray) {
    ReferenceIsaac reference(0);
    reference.isaac();
    // The published first outputs of ISAAC after randinit(TRUE) on zeros.
    EXPECT_EQ(reference.randrsl[0], 0xf650e4c8u);
    EXPECT_EQ(reference.randrsl[1], 0xe448e96du);
    EXPECT_EQ(reference.randrsl[2], 0x98db2fb4u);
    EXPECT_EQ(reference.randrsl[3], 0xf5fad54fu);

    ReferenceIsaac again(0);
    Isaac engine(0);
    for (int pass = 0; pass < 20; ++pass) {
        again.isaac();
        EXPECT_EQ(engine.next(), again.randrsl[0]) << pass;
    }
}

TEST(Isaac, MixesTheSeedIntoTheFirstResultWord) {
    for (const uint32_t seed : {1u, 12345u, 0x80000000u, 0xffffffffu}) {
        ReferenceIsaac reference(seed);
        Isaac engine(seed);
        for (int pass = 0; pass < 5; ++pass) {
            reference.isaac();
            EXPECT_EQ(engine.next(), reference.randrsl[0]) << seed;
        }
    }
}

TEST(Random, NonPositiveRangeGivesZero) {
    EXPECT_EQ(random(0), 0);
    EXPECT_EQ(random(-5), 0);
    EXPECT_EQ(random(INT32_MIN), 0);
}

TEST(Random, StaysWithinZeroToNInclusive) {
    seed_random(77);
    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int32_t value = random(6);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 6);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 7u);
    for (int i = 0; i < 200; ++i) {
        const int32_t one = random(1);
        ASSERT_TRUE(one == 0 || one == 1);
        ASSERT_GE(random(INT32_MAX), 0);
    }
}

TEST(Random, IsTheUnsignedDrawModuloNPlusOne) {
    seed_random(-3);
    Isaac engine(0xfffffffdu);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(random(999), static_cast<int32_t>(engine.next() % 1000));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(random(INT32_MAX), static_cast<int32_t>(engine.next() % 0x80000000u));
    }
}

TEST(Random, SameSeedSameSequenceDifferentSeedsDiffer) {
    const auto draws = [](int32_t seed) {
        seed_random(seed);
        std::vector<int32_t> values;
        for (int i = 0; i < 32; ++i)
            values.push_back(random(1000000));
        return values;
    };
    EXPECT_EQ(draws(42), draws(42));
    EXPECT_NE(draws(42), draws(43));
    EXPECT_NE(draws(0), draws(1));
}

TEST(Random, StartsSeededWithZero) {
    Isaac engine(0);
    EXPECT_EQ(random(INT32_MAX), static_cast<int32_t>(engine.next() % 0x80000000u));
}

}  // namespace
}  // namespace vexel
