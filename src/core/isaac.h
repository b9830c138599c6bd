// Internal: the ISAAC generator behind random and seed_random.
#pragma once

#include <array>
#include <cstdint>

namespace vexel {

class Isaac {
public:
    explicit Isaac(uint32_t seed = 0) { reseed(seed); }

    // Fills the state by the ISAAC mixing rounds from the golden ratio with the seed in the first
    // result word (a seed of 0 is the all-zero result array), then runs the first pass.
    void reseed(uint32_t seed);
    // Runs one full generation pass and returns the first of its 256 result words.
    uint32_t next();

    static constexpr int kSize = 256;

private:
    void generate();

    std::array<uint32_t, kSize> results_{};
    std::array<uint32_t, kSize> memory_{};
    uint32_t a_ = 0;
    uint32_t b_ = 0;
    uint32_t c_ = 0;
};

// The engine's one generator, seeded with 0 until seed_random is called.
Isaac& random_generator();

}  // namespace vexel
