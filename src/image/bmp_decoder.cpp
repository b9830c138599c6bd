// The engine's own BMP reader: uncompressed rows under the 12-byte (core) or 40-byte (info)
// header. Every size comes from the file, so each is checked against what the file holds before
// anything is allocated.
#include <cstring>
#include <vector>

#include "image/colour_value.h"
#include "image/decode_file.h"
#include "image/image_decoders.h"
#include "image/stream_input.h"

namespace vexel {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;

uint16_t u16_at(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32_at(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct BmpHeader {
    uint32_t header_size = 0;
    uint32_t data_offset = 0;
    int64_t width = 0;
    int64_t height = 0;  // stored sign: negative means top row first
    uint32_t bit_count = 0;
    uint32_t compression = kUncompressed;
};

ImageFailure read_header(FileStream& stream, BmpHeader& header) {
    uint8_t bytes[kFileHeaderSize + kInfoHeaderSize];
    if (!read_exact(stream, bytes, 2) || bytes[0] != 'B' || bytes[1] != 'M')
        return ImageFailure::kNotAPicture;
    if (!read_exact(stream, bytes + 2, kFileHeaderSize + 2)) return ImageFailure::kDamaged;
    header.data_offset = u32_at(bytes + 10);
    header.header_size = u32_at(bytes + 14);
    if (header.header_size != kCoreHeaderSize && header.header_size != kInfoHeaderSize)
        return ImageFailure::kUnsupported;
    uint8_t* info = bytes + kFileHeaderSize + 4;
    if (!read_exact(stream, info, header.header_size - 4)) return ImageFailure::kDamaged;
    if (header.header_size == kCoreHeaderSize) {
        header.width = u16_at(info);
        header.height = u16_at(info + 2);
        header.bit_count = u16_at(info + 6);
    } else {
        header.width = static_cast<int32_t>(u32_at(info));
        header.height = static_cast<int32_t>(u32_at(info + 4));
        header.bit_count = u16_at(info + 10);
        header.compression = u32_at(info + 12);
    }
    return ImageFailure::kNone;
}

bool bit_count_supported(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bit fields are accepted only when they describe the layout the plain form has anyway.
bool bit_fields_are_plain(uint32_t bits, const std::vector<uint8_t>& extra) {
    if (extra.size() < 12) return false;
    const uint32_t red = u32_at(extra.data());
    const uint32_t green = u32_at(extra.data() + 4);
    const uint32_t blue = u32_at(extra.data() + 8);
    if (bits == 16) return red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
    if (bits == 32) return red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
    return false;
}

struct Palette {
    uint8_t rgb[256][3] = {};
    uint32_t count = 0;
};

// The entries between the header and the pixel data: 3 bytes (B, G, R) after the core header,
// 4 (B, G, R, reserved) after the info header; never more than the bit count can index.
void take_palette(const std::vector<uint8_t>& bytes, const BmpHeader& header, Palette& palette) {
    const uint32_t entry_size = header.header_size == kCoreHeaderSize ? 3 : 4;
    const uint32_t indexable = 1u << header.bit_count;
    palette.count = static_cast<uint32_t>(bytes.size() / entry_size);
    if (palette.count > indexable) palette.count = indexable;
    for (uint32_t i = 0; i < palette.count; ++i) {
        const uint8_t* entry = bytes.data() + i * entry_size;
        palette.rgb[i][0] = entry[2];
        palette.rgb[i][1] = entry[1];
        palette.rgb[i][2] = entry[0];
    }
}

// An index beyond the stored palette gives black.
void put_indexed(uint8_t* out, const Palette& palette, uint32_t index) {
    if (index < palette.count) std::memcpy(out, palette.rgb[index], 3);
    out[3] = 255;
}

uint8_t scale5(uint32_t v) {
    return static_cast<uint8_t>(v * 255 / 31);
}

void decode_row(const uint8_t* row, uint32_t bits, int32_t width, const Palette& palette,
                uint8_t* out) {
    for (int32_t x = 0; x < width; ++x, out += 4) {
        switch (bits) {
            case 1:
                put_indexed(out, palette, row[x / 8] >> (7 - x % 8) & 1);
                break;
            case 4:
                put_indexed(out, palette, x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15);
                break;
            case 8:
                put_indexed(out, palette, row[x]);
                break;
            case 16: {
                const uint32_t v = u16_at(row + x * 2);
                out[0] = scale5(v >> 10 & 31);
                out[1] = scale5(v >> 5 & 31);
                out[2] = scale5(v & 31);
                out[3] = 255;
                break;
            }
            default: {
                const uint8_t* p = row + x * (bits / 8);
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
                out[3] = 255;
                break;
            }
        }
    }
}

ImageFailure decode_stream(FileStream& stream, int32_t key, ImageBuffer& out) {
    BmpHeader header;
    if (const ImageFailure failure = read_header(stream, header); failure != ImageFailure::kNone)
        return failure;
    if (!bit_count_supported(header.bit_count)) return ImageFailure::kUnsupported;
    const bool top_down = header.height < 0;
    const int64_t width = header.width;
    const int64_t height = top_down ? -header.height : header.height;
    if (const ImageFailure failure = image_size_failure(width, height);
        failure != ImageFailure::kNone)
        return failure;

    const uint32_t header_end = kFileHeaderSize + header.header_size;
    const int64_t extra_size =
        header.data_offset > header_end ? int64_t{header.data_offset} - header_end : 0;
    const int64_t row_size = (width * header.bit_count + 31) / 32 * 4;
    if (extra_size + row_size * height > bytes_left(stream)) return ImageFailure::kDamaged;

    std::vector<uint8_t> extra(static_cast<size_t>(extra_size));
    if (extra_size > 0 && !read_exact(stream, extra.data(), static_cast<uint32_t>(extra_size)))
        return ImageFailure::kDamaged;
    if (header.compression == kBitFields) {
        if (!bit_fields_are_plain(header.bit_count, extra)) return ImageFailure::kUnsupported;
    } else if (header.compression != kUncompressed) {
        return ImageFailure::kUnsupported;
    }
    Palette palette;
    if (header.bit_count <= 8) {
        take_palette(extra, header, palette);
        if (palette.count == 0) return ImageFailure::kDamaged;
    }

    std::vector<uint8_t> rows(static_cast<size_t>(row_size * height));
    if (!rows.empty() && !read_exact(stream, rows.data(), static_cast<uint32_t>(rows.size())))
        return ImageFailure::kDamaged;
    stream.close();

    if (!out.size_for(static_cast<int32_t>(width), static_cast<int32_t>(height)))
        return ImageFailure::kOutOfMemory;
    for (int32_t y = 0; y < out.height(); ++y) {
        const int64_t stored_row = top_down ? y : height - 1 - y;
        uint8_t* line = out.pixel(0, y);
        decode_row(rows.data() + stored_row * row_size, header.bit_count, out.width(), palette,
                   line);
        for (int32_t x = 0; x < out.width(); ++x)
            apply_colour_key(line + x * 4, key);
    }
    out.set_alpha_from_source(false);
    return ImageFailure::kNone;
}

}  // namespace

bool decode_bmp(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why) {
    return decode_file(name, out, why,
                       [&](FileStream& stream) { return decode_stream(stream, key, out); });
}

}  // namespace vexel
