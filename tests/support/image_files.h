#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vexel::testing {

// A BMP file as bytes. values holds one number per pixel, top row first: a palette index for 1,
// 4 and 8 bits, the raw 16-bit word for 16 bits, 0xRRGGBB for 24 and 32 bits.
struct BmpLayout {
    uint32_t header_size = 40;  // 12 or 40 (anything else is written as 40 bytes + the number)
    uint32_t bit_count = 24;
    int32_t width = 0;
    int32_t height = 0;
    bool top_down = false;                        // written with a negative height (40 only)
    std::vector<std::array<uint8_t, 3>> palette;  // R, G, B
    std::vector<uint32_t> values;
    uint32_t compression = 0;
    std::vector<uint8_t> after_header;  // bytes between the header and the palette
    uint32_t fourth_byte = 0xEE;        // the unused byte of 32-bit pixels and 4-byte entries
};
std::string bmp_bytes(const BmpLayout& layout);

// A PNG written by libpng: samples hold rows top first in the file's own layout (bit depths
// below 8 packed, 16-bit samples big-endian).
struct PngLayout {
    PngLayout(uint32_t w, uint32_t h, int type, int depth)
        : width(w), height(h), colour_type(type), bit_depth(depth) {}

    uint32_t width = 0;
    uint32_t height = 0;
    int colour_type = 0;  // PNG_COLOR_TYPE_*
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<uint8_t> samples;
    std::vector<std::array<uint8_t, 3>> palette;
    std::vector<uint8_t> palette_alpha;  // tRNS for palette images
    int transparent_grey = -1;           // tRNS for grey images
};
std::string png_bytes(const PngLayout& layout);

enum class JpegCoding { kBaseline, kProgressive, kArithmetic };

// A JPEG written by libjpeg with the given component count (1 grey, 3 RGB, 4 CMYK, or any
// other count as an unknown colour space); samples interleaved, rows top first.
std::string jpeg_bytes(uint32_t width, uint32_t height, int components,
                       const std::vector<uint8_t>& samples, int quality = 95,
                       JpegCoding coding = JpegCoding::kBaseline);

// RGBA pixels of a decoded reference picture, or false when libpng cannot read it.
bool read_png_rgba(const std::string& path, uint32_t& width, uint32_t& height,
                   std::vector<uint8_t>& rgba);

}  // namespace vexel::testing
