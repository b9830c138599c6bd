// Internal: the engine's 24-bit colour values, R + G * 256 + B * 65536.
#pragma once

#include <cstdint>

namespace vexel {

// Where a key colour is expected, this means "no key".
inline constexpr int32_t kNoColourKey = -1;
// R 255, G 0, B 128: what sprites are keyed with unless the script says otherwise.
inline constexpr int32_t kDefaultSpriteColourKey = 255 + 128 * 65536;

inline constexpr int32_t colour_value(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<int32_t>(r + g * 256 + b * 65536);
}

// Clears all four bytes of an RGBA pixel whose colour is the key (never for kNoColourKey).
inline void apply_colour_key(uint8_t* rgba, int32_t key) {
    if (key != kNoColourKey && colour_value(rgba[0], rgba[1], rgba[2]) == key)
        rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
}

}  // namespace vexel
