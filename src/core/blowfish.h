// Internal: the Blowfish block cipher (16 rounds) on blocks given as two 32-bit halves. How the
// halves map to bytes is the caller's business.
#pragma once

#include <cstdint>

namespace vexel {

class Blowfish {
public:
    // Runs the key schedule over the key bytes, consumed cyclically. The key must not be empty.
    Blowfish(const uint8_t* key, uint32_t length);

    void encrypt_block(uint32_t& left, uint32_t& right) const;
    void decrypt_block(uint32_t& left, uint32_t& right) const;

private:
    uint32_t feistel(uint32_t half) const;

    uint32_t p_[18];
    uint32_t s_[4][256];
};

}  // namespace vexel
