// Internal: little-endian values of the mesh files, whatever the byte order of the machine.
#pragma once

#include <bit>
#include <cstdint>

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

// Puts little-endian values into a block sized beforehand, one after the other.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(uint8_t* at) : at_(at) {}

    void u8(uint8_t value) { *at_++ = value; }
    void u32(uint32_t value) {
        at_[0] = static_cast<uint8_t>(value);
        at_[1] = static_cast<uint8_t>(value >> 8);
        at_[2] = static_cast<uint8_t>(value >> 16);
        at_[3] = static_cast<uint8_t>(value >> 24);
        at_ += 4;
    }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    void f32(float value) { u32(std::bit_cast<uint32_t>(value)); }
    void f64(double value) {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        u32(static_cast<uint32_t>(bits));
        u32(static_cast<uint32_t>(bits >> 32));
    }

    const uint8_t* position() const { return at_; }

private:
    uint8_t* at_;
};

}  // namespace vexel
