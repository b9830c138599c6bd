#include <vexel/cipher.h>
#include <vexel/text.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/blowfish.h"

namespace vexel {

namespace {

constexpr uint32_t kBlockSize = 8;

uint32_t load_le(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

void store_le(uint32_t word, uint8_t* bytes) {
    bytes[0] = static_cast<uint8_t>(word);
    bytes[1] = static_cast<uint8_t>(word >> 8);
    bytes[2] = static_cast<uint8_t>(word >> 16);
    bytes[3] = static_cast<uint8_t>(word >> 24);
}

uint32_t rounded_to_blocks(uint32_t count) {
    return (count + kBlockSize - 1) / kBlockSize * kBlockSize;
}

std::unique_ptr<Blowfish> make_cipher(const DynString& key) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(key.c_str());
    return std::make_unique<Blowfish>(bytes, key.length());
}

}  // namespace

DynString encrypt(const DynString& key, const DynString& text) {
    if (key.empty() || text.empty()) return DynString();
    const auto cipher = make_cipher(key);

    std::vector<uint8_t> work(rounded_to_blocks(text.length()), 0);
    std::memcpy(work.data(), text.c_str(), text.length());
    for (uint32_t at = 0; at < work.size(); at += kBlockSize) {
        uint32_t left = load_le(&work[at]);
        uint32_t right = load_le(&work[at + 4]);
        cipher->encrypt_block(left, right);
        store_le(left, &work[at]);
        store_le(right, &work[at + 4]);
    }
    return hex_encode(work.data(), static_cast<uint32_t>(work.size()), false);
}

DynString decrypt(const DynString& key, const DynString& hex) {
    const uint32_t count = hex.length() / 2;
    if (key.empty() || count == 0) return DynString();
    const auto cipher = make_cipher(key);

    // One zero byte past the blocks ends the text even when no block holds a zero.
    std::vector<uint8_t> work(rounded_to_blocks(count) + 1, 0);
    for (uint32_t i = 0; i < count; ++i) {
        work[i] = static_cast<uint8_t>(hex_pair_value(hex[2 * i], hex[2 * i + 1]));
    }
    for (uint32_t at = 0; at + kBlockSize < work.size(); at += kBlockSize) {
        uint32_t left = load_le(&work[at]);
        uint32_t right = load_le(&work[at + 4]);
        cipher->decrypt_block(left, right);
        store_le(left, &work[at]);
        store_le(right, &work[at + 4]);
    }
    return DynString(reinterpret_cast<const char*>(work.data()));
}

}  // namespace vexel
