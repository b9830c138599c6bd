#include "gfx2d/image_filters.h"

namespace vexel {

void fill_transparent_colours(ImageBuffer& buffer) {
    const int32_t width = buffer.width();
    const int32_t height = buffer.height();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = buffer.pixel(x, y);
            if (pixel[3] != 0) continue;
            double sum[3] = {0, 0, 0};
            int32_t count = 0;
            for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
                for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
                    if ((nx == x && ny == y) || nx < 1 || nx > width - 2 || ny < 1 ||
                        ny > height - 2)
                        continue;
                    const uint8_t* neighbour = buffer.pixel(nx, ny);
                    if (neighbour[3] == 0) continue;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += neighbour[c];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c)
                pixel[c] = count == 0 ? 0 : static_cast<uint8_t>(sum[c] / count);
        }
    }
}

}  // namespace vexel
