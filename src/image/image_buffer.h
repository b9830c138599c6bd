// Internal: ImageBuffer, the decoded RGBA picture every decoder fills and every upload reads.
#pragma once

#include <cstdint>
#include <memory>

namespace vexel {

// Pictures are never larger than this either way: the sprite table keeps sizes (and the texture
// sizes derived from them) in signed 16 bits.
inline constexpr int32_t kMaxImageSide = 16384;
// Nor more pixels than this (a quarter of a gigabyte as RGBA), whatever a file claims.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

// width x height pixels of four bytes R, G, B, A, rows top to bottom (texture work buffers keep
// rows bottom-up, as OpenGL takes them). Owned by whoever declares it.
class ImageBuffer {
public:
    ImageBuffer() = default;
    ImageBuffer(ImageBuffer&& other) noexcept;
    ImageBuffer& operator=(ImageBuffer&& other) noexcept;
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    // Releases the pixels: sizes and capacity 0, alpha_from_source true.
    void reset();
    // Makes room for width x height zeroed pixels, reusing the block when it is large enough.
    // Negative sizes, sizes beyond the limits above or a failed allocation reset the buffer and
    // give false.
    bool size_for(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t capacity() const { return capacity_; }
    bool alpha_from_source() const { return alpha_from_source_; }
    void set_alpha_from_source(bool value) { alpha_from_source_ = value; }

    uint8_t* pixels() { return pixels_.get(); }
    const uint8_t* pixels() const { return pixels_.get(); }
    // The four bytes of pixel (x, y); the caller keeps x and y inside the picture.
    uint8_t* pixel(int32_t x, int32_t y) { return pixels_.get() + (int64_t{y} * width_ + x) * 4; }
    const uint8_t* pixel(int32_t x, int32_t y) const {
        return pixels_.get() + (int64_t{y} * width_ + x) * 4;
    }
    int64_t byte_count() const { return int64_t{width_} * height_ * 4; }

private:
    std::unique_ptr<uint8_t[]> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t capacity_ = 0;
    bool alpha_from_source_ = true;
};

// True when the sizes lie within kMaxImageSide and kMaxImagePixels (zero sizes included).
bool image_size_allowed(int64_t width, int64_t height);

}  // namespace vexel
