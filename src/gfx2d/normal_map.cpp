#include <cmath>
#include <vector>

#include "gfx2d/image_filters.h"

namespace vexel {

void make_normal_map(ImageBuffer& buffer) {
    const int32_t width = buffer.width();
    const int32_t height = buffer.height();
    if (width == 0 || height == 0) return;
    std::vector<float> heights(size_t(width) * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            heights[size_t(y) * width + x] = buffer.pixel(x, y)[2] / 255.0f;
    auto h = [&](int32_t i, int32_t j) {
        i = (i % width + width) % width;
        j = (j % height + height) % height;
        return heights[size_t(j) * width + i];
    };
    auto to_byte = [](float v) { return static_cast<uint8_t>((v + 1.0f) * 0.5f * 255.0f); };

    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const float gx = (h(x + 1, y + 1) + 2 * h(x + 1, y) + h(x + 1, y - 1)) -
                             (h(x - 1, y + 1) + 2 * h(x - 1, y) + h(x - 1, y - 1));
            const float gy = (h(x - 1, y + 1) + 2 * h(x, y + 1) + h(x + 1, y + 1)) -
                             (h(x - 1, y - 1) + 2 * h(x, y - 1) + h(x + 1, y - 1));
            const float nx = -gx;
            const float ny = gy;
            const float k = 1.0f / std::sqrt(nx * nx + ny * ny + 1.0f);
            uint8_t* texel = buffer.pixel(x, y);
            texel[0] = to_byte(nx * k);
            texel[1] = to_byte(ny * k);
            texel[2] = to_byte(k);
        }
    }
}

}  // namespace vexel
