#include "core/blowfish.h"

#include <cstring>
#include <utility>

#include "core/blowfish_tables.h"

namespace vexel {

Blowfish::Blowfish(const uint8_t* key, uint32_t length) {
    std::memcpy(p_, kBlowfishInitialP, sizeof p_);
    std::memcpy(s_, kBlowfishInitialS, sizeof s_);

    uint32_t next = 0;
    for (uint32_t& word : p_) {
        uint32_t mixed = 0;
        for (int i = 0; i < 4; ++i) {
            mixed = (mixed << 8) | key[next];
            next = (next + 1) % length;
        }
        word ^= mixed;
    }

    uint32_t left = 0;
    uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        encrypt_block(left, right);
        p_[i] = left;
        p_[i + 1] = right;
    }
    for (auto& box : s_) {
        for (int i = 0; i < 256; i += 2) {
            encrypt_block(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

uint32_t Blowfish::feistel(uint32_t half) const {
    return ((s_[0][half >> 24] + s_[1][(half >> 16) & 0xff]) ^ s_[2][(half >> 8) & 0xff]) +
           s_[3][half & 0xff];
}

void Blowfish::encrypt_block(uint32_t& left, uint32_t& right) const {
    uint32_t l = left;
    uint32_t r = right;
    for (int round = 0; round < 16; ++round) {
        l ^= p_[round];
        r ^= feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[16];
    l ^= p_[17];
    left = l;
    right = r;
}

void Blowfish::decrypt_block(uint32_t& left, uint32_t& right) const {
    uint32_t l = left;
    uint32_t r = right;
    for (int round = 17; round > 1; --round) {
        l ^= p_[round];
        r ^= feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[1];
    l ^= p_[0];
    left = l;
    right = r;
}

}  // namespace vexel
