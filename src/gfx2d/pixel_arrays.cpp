#include "gfx2d/pixel_arrays.h"

namespace vexel {

void pack_pixels(const ImageBuffer& picture, ExactIntArray& array) {
    const int32_t count = picture.width() * picture.height();
    array.dim(count);
    if (array.count() != count) return;
    const uint8_t* pixel = picture.pixels();
    int32_t* element = array.elements();
    for (int32_t i = 0; i < count; ++i, pixel += 4) {
        element[i] = static_cast<int32_t>(pixel[0] | pixel[1] << 8 | pixel[2] << 16 |
                                          static_cast<uint32_t>(pixel[3]) << 24);
    }
}

bool unpack_pixels(const ExactIntArray& array, int32_t w, int32_t h, ImageBuffer& picture) {
    if (!image_size_allowed(w, h) || int64_t{w} * h != array.count()) return false;
    if (!picture.size_for(w, h)) return false;
    const int32_t* element = array.elements();
    uint8_t* pixel = picture.pixels();
    for (int32_t i = 0; i < w * h; ++i, pixel += 4) {
        const auto value = static_cast<uint32_t>(element[i]);
        pixel[0] = static_cast<uint8_t>(value);
        pixel[1] = static_cast<uint8_t>(value >> 8);
        pixel[2] = static_cast<uint8_t>(value >> 16);
        pixel[3] = static_cast<uint8_t>(value >> 24);
    }
    return true;
}

}  // namespace vexel
