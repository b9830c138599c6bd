#include "core/isaac.h"

#include <vexel/math.h>

namespace vexel {

namespace {

constexpr uint32_t kGoldenRatio = 0x9e3779b9;

// The eight-word mixing round of the ISAAC initialisation.
// clang-format off
void mix(uint32_t (&w)[8]) {
    w[0] ^= w[1] << 11; w[3] += w[0]; w[1] += w[2];
    w[1] ^= w[2] >> 2;  w[4] += w[1]; w[2] += w[3];
    w[2] ^= w[3] << 8;  w[5] += w[2]; w[3] += w[4];
    w[3] ^= w[4] >> 16; w[6] += w[3]; w[4] += w[5];
    w[4] ^= w[5] << 10; w[7] += w[4]; w[5] += w[6];
    w[5] ^= w[6] >> 4;  w[0] += w[5]; w[6] += w[7];
    w[6] ^= w[7] << 8;  w[1] += w[6]; w[7] += w[0];
    w[7] ^= w[0] >> 9;  w[2] += w[7]; w[0] += w[1];
}
// clang-format on

}  // namespace

void Isaac::reseed(uint32_t seed) {
    results_.fill(0);
    results_[0] = seed;
    a_ = b_ = c_ = 0;

    uint32_t w[8];
    for (uint32_t& word : w)
        word = kGoldenRatio;
    for (int i = 0; i < 4; ++i)
        mix(w);

    // Two passes: the first folds in the seed words, the second spreads every word everywhere.
    for (const auto* source : {&results_, &memory_}) {
        for (int i = 0; i < kSize; i += 8) {
            for (int k = 0; k < 8; ++k)
                w[k] += (*source)[i + k];
            mix(w);
            for (int k = 0; k < 8; ++k)
                memory_[i + k] = w[k];
        }
    }
    generate();
}

uint32_t Isaac::next() {
    generate();
    return results_[0];
}

void Isaac::generate() {
    b_ += ++c_;
    for (int i = 0; i < kSize; ++i) {
        const uint32_t x = memory_[i];
        switch (i % 4) {
            case 0:
                a_ ^= a_ << 13;
                break;
            case 1:
                a_ ^= a_ >> 6;
                break;
            case 2:
                a_ ^= a_ << 2;
                break;
            default:
                a_ ^= a_ >> 16;
                break;
        }
        a_ += memory_[(i + 128) % kSize];
        const uint32_t y = memory_[(x >> 2) % kSize] + a_ + b_;
        memory_[i] = y;
        b_ = memory_[(y >> 10) % kSize] + x;
        results_[i] = b_;
    }
}

Isaac& random_generator() {
    static Isaac generator;
    return generator;
}

int32_t random(int32_t n) {
    if (n <= 0) return 0;
    const uint32_t range = static_cast<uint32_t>(n) + 1;
    return static_cast<int32_t>(random_generator().next() % range);
}

void seed_random(int32_t seed) {
    random_generator().reseed(static_cast<uint32_t>(seed));
}

}  // namespace vexel
