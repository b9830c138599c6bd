#include "image/image_buffer.h"

#include <cstring>
#include <new>
#include <utility>

namespace vexel {

ImageBuffer::ImageBuffer(ImageBuffer&& other) noexcept
    : pixels_(std::move(other.pixels_)),
      width_(other.width_),
      height_(other.height_),
      capacity_(other.capacity_),
      alpha_from_source_(other.alpha_from_source_) {
    other.reset();
}

ImageBuffer& ImageBuffer::operator=(ImageBuffer&& other) noexcept {
    if (this != &other) {
        pixels_ = std::move(other.pixels_);
        width_ = other.width_;
        height_ = other.height_;
        capacity_ = other.capacity_;
        alpha_from_source_ = other.alpha_from_source_;
        other.reset();
    }
    return *this;
}

void ImageBuffer::reset() {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
    capacity_ = 0;
    alpha_from_source_ = true;
}

bool ImageBuffer::size_for(int32_t width, int32_t height) {
    if (!image_size_allowed(width, height)) {
        reset();
        return false;
    }
    const auto needed = static_cast<int32_t>(int64_t{width} * height * 4);
    if (capacity_ < needed) {
        reset();
        pixels_.reset(new (std::nothrow) uint8_t[needed]);
        if (!pixels_) return false;
        capacity_ = needed;
    }
    if (needed > 0) std::memset(pixels_.get(), 0, needed);
    width_ = width;
    height_ = height;
    return true;
}

bool image_size_allowed(int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

}  // namespace vexel
