#include "gfx2d/texture_layout.h"

#include <algorithm>
#include <cstring>

namespace vexel {

int32_t power_of_two_size(int32_t n) {
    int32_t size = 16;
    while (size < n && size < (int32_t{1} << 30))
        size *= 2;
    return size;
}

bool build_texture_block(const ImageBuffer& picture, int32_t x, int32_t y, int32_t w, int32_t h,
                         int32_t max_side, TextureBlock& block) {
    if (w == 0) w = picture.width() - x;
    if (h == 0) h = picture.height() - y;
    if (w < 1 || h < 1) return false;
    w = std::min(w, max_side);
    h = std::min(h, max_side);
    block.width = w;
    block.height = h;
    const int32_t tw = power_of_two_size(w);
    const int32_t th = power_of_two_size(h);
    if (!block.texels.size_for(tw, th)) return false;

    const int32_t first_x = std::max(x, 0);
    const auto end_x =
        static_cast<int32_t>(std::min({int64_t{x} + tw, int64_t{x} + w, int64_t{picture.width()}}));
    const int32_t first_y = std::max(y, 0);
    const auto end_y = static_cast<int32_t>(
        std::min({int64_t{y} + th, int64_t{y} + h, int64_t{picture.height()}}));
    if (first_x >= end_x) return true;
    for (int32_t sy = first_y; sy < end_y; ++sy) {
        std::memcpy(block.texels.pixel(first_x - x, h - 1 - (sy - y)), picture.pixel(first_x, sy),
                    size_t(end_x - first_x) * 4);
    }
    return true;
}

namespace {

ImageBuffer halve_width(const ImageBuffer& in) {
    ImageBuffer out;
    if (!out.size_for(in.width() / 2, in.height())) return out;
    for (int32_t y = 0; y < out.height(); ++y) {
        for (int32_t x = 0; x < out.width(); ++x) {
            const uint8_t* a = in.pixel(2 * x, y);
            const uint8_t* b = in.pixel(2 * x + 1, y);
            uint8_t* t = out.pixel(x, y);
            for (int c = 0; c < 4; ++c)
                t[c] = static_cast<uint8_t>((a[c] + b[c]) >> 1);
        }
    }
    return out;
}

ImageBuffer halve_height(const ImageBuffer& in) {
    ImageBuffer out;
    if (!out.size_for(in.width(), in.height() / 2)) return out;
    for (int32_t y = 0; y < out.height(); ++y) {
        for (int32_t x = 0; x < out.width(); ++x) {
            const uint8_t* a = in.pixel(x, 2 * y);
            const uint8_t* b = in.pixel(x, 2 * y + 1);
            uint8_t* t = out.pixel(x, y);
            for (int c = 0; c < 4; ++c)
                t[c] = static_cast<uint8_t>((a[c] + b[c]) >> 1);
        }
    }
    return out;
}

ImageBuffer copy_of(const ImageBuffer& in) {
    ImageBuffer out;
    if (out.size_for(in.width(), in.height()) && in.byte_count() > 0)
        std::memcpy(out.pixels(), in.pixels(), size_t(in.byte_count()));
    return out;
}

}  // namespace

ImageBuffer make_mip_square(const ImageBuffer& texture) {
    ImageBuffer square = copy_of(texture);
    while (square.width() > square.height() && square.width() > 0)
        square = halve_width(square);
    while (square.height() > square.width() && square.height() > 0)
        square = halve_height(square);
    return square;
}

ImageBuffer reduce_mip_level(const ImageBuffer& level) {
    ImageBuffer out;
    const int32_t side = level.width() / 2;
    if (!out.size_for(side, side)) return out;
    for (int32_t y = 0; y < side; ++y) {
        const bool last_row = y == side - 1;
        for (int32_t x = 0; x < side; ++x) {
            const bool last_column = x == side - 1;
            const uint8_t* centre = level.pixel(2 * x, 2 * y);
            const uint8_t* right = level.pixel(2 * x + 1, 2 * y);
            const uint8_t* below = level.pixel(2 * x, 2 * y + 1);
            const uint8_t* below_right = level.pixel(2 * x + 1, 2 * y + 1);
            uint8_t* t = out.pixel(x, y);
            for (int c = 0; c < 4; ++c) {
                int32_t value;
                if (last_row && last_column)
                    value = centre[c];
                else if (last_column)
                    value = (2 * centre[c] + below[c]) / 3;
                else if (last_row)
                    value = (2 * centre[c] + right[c]) / 3;
                else
                    value = (4 * centre[c] + 2 * right[c] + 2 * below[c] + below_right[c]) / 9;
                t[c] = static_cast<uint8_t>(value);
            }
        }
    }
    return out;
}

}  // namespace vexel
