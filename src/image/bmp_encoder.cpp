#include <cstring>
#include <new>
#include <vector>

#include "image/image_encoders.h"
#include "io/file_stream.h"

namespace vexel {

namespace {

constexpr uint32_t kHeaderSize = 54;
constexpr uint32_t kPixelsPerMetre = 10000;

void put_u16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put_u32(uint8_t* p, uint32_t v) {
    put_u16(p, v);
    put_u16(p + 2, v >> 16);
}

}  // namespace

bool encode_bmp(const char* name, const ImageBuffer& picture) {
    const uint32_t width = static_cast<uint32_t>(picture.width());
    const uint32_t height = static_cast<uint32_t>(picture.height());
    const uint32_t row_size = (width * 3 + 3) / 4 * 4;

    uint8_t header[kHeaderSize] = {'B', 'M'};
    put_u32(header + 2, kHeaderSize + row_size * height);
    put_u32(header + 10, kHeaderSize);
    put_u32(header + 14, 40);
    put_u32(header + 18, width);
    put_u32(header + 22, height);
    put_u16(header + 26, 1);
    put_u16(header + 28, 24);
    put_u32(header + 38, kPixelsPerMetre);
    put_u32(header + 42, kPixelsPerMetre);

    std::vector<uint8_t> row(row_size);
    FileStream stream;
    if (!stream.open_write(name) || !stream.write(header, kHeaderSize)) return false;
    for (uint32_t y = height; y-- > 0;) {
        const uint8_t* pixel = picture.pixel(0, static_cast<int32_t>(y));
        for (uint32_t x = 0; x < width; ++x, pixel += 4) {
            uint8_t* out = row.data() + x * 3;
            if (pixel[3] == 255) {
                out[0] = pixel[2];
                out[1] = pixel[1];
                out[2] = pixel[0];
            } else {
                out[0] = 128;
                out[1] = 0;
                out[2] = 255;
            }
        }
        if (!stream.write(row.data(), row_size)) return false;
    }
    stream.close();
    return true;
}

}  // namespace vexel
