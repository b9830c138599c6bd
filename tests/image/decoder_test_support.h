// Test helper: decoding bytes that a test built, from a disk file or a "mem://" block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "image/image_buffer.h"
#include "io/stream_source.h"
#include "support/temp_dir.h"

namespace vexel::testing {

// The RGBA bytes of pixel (x, y).
inline std::string rgba_at(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return std::string(reinterpret_cast<const char*>(p), 4);
}

inline std::string rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return std::string{static_cast<char>(r), static_cast<char>(g), static_cast<char>(b),
                       static_cast<char>(a)};
}

// A buffer that holds pixels already, to see that a failing decoder resets it.
inline ImageBuffer used_buffer() {
    ImageBuffer buffer;
    buffer.size_for(3, 3);
    buffer.set_alpha_from_source(false);
    return buffer;
}

inline bool is_reset(const ImageBuffer& buffer) {
    return buffer.width() == 0 && buffer.height() == 0 && buffer.capacity() == 0 &&
           buffer.pixels() == nullptr && buffer.alpha_from_source();
}

}  // namespace vexel::testing
