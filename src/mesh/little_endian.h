// Internal: little-endian values of the mesh files, whatever the byte order of the machine.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace vexel {

inline uint32_t load_u32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
inline int32_t load_i32(const uint8_t* bytes) {
    return static_cast<int32_t>(load_u32(bytes));
}
inline float load_f32(const uint8_t* bytes) {
    return std::bit_cast<float>(load_u32(bytes));
}
inline double load_f64(const uint8_t* bytes) {
    const uint64_t low = load_u32(bytes);
    const uint64_t high = load_u32(bytes + 4);
    return std::bit_cast<double>(low | high << 32);
}

inline void store_u32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 24));
}
inline void store_i32(std::vector<uint8_t>& out, int32_t value) {
    store_u32(out, static_cast<uint32_t>(value));
}
inline void store_f32(std::vector<uint8_t>& out, float value) {
    store_u32(out, std::bit_cast<uint32_t>(value));
}
inline void store_f64(std::vector<uint8_t>& out, double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    store_u32(out, static_cast<uint32_t>(bits));
    store_u32(out, static_cast<uint32_t>(bits >> 32));
}

}  // namespace vexel
