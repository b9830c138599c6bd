#include "support/image_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

namespace vexel::testing {

namespace {

void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 255));
    out.push_back(static_cast<char>(v >> 8 & 255));
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string bmp_row(const BmpLayout& layout, int32_t y) {
    const uint32_t row_size = (uint32_t(layout.width) * layout.bit_count + 31) / 32 * 4;
    std::string row(row_size, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(row.data());
    for (int32_t x = 0; x < layout.width; ++x) {
        const uint32_t v = layout.values[size_t(y) * layout.width + x];
        switch (layout.bit_count) {
            case 1:
                bytes[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                break;
            case 4:
                bytes[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? (v & 15) << 4 : v & 15);
                break;
            case 8:
                bytes[x] = static_cast<uint8_t>(v);
                break;
            case 16:
                bytes[x * 2] = static_cast<uint8_t>(v);
                bytes[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
                break;
            default: {
                uint8_t* p = bytes + x * (layout.bit_count / 8);
                p[0] = static_cast<uint8_t>(v);
                p[1] = static_cast<uint8_t>(v >> 8);
                p[2] = static_cast<uint8_t>(v >> 16);
                if (layout.bit_count == 32) p[3] = static_cast<uint8_t>(layout.fourth_byte);
                break;
            }
        }
    }
    return row;
}

}  // namespace

std::string bmp_bytes(const BmpLayout& layout) {
    const bool core = layout.header_size == 12;
    const uint32_t header_bytes = core ? 12 : 40;
    const uint32_t entry_size = core ? 3 : 4;
    const uint32_t offset = 14 + header_bytes + uint32_t(layout.after_header.size()) +
                            uint32_t(layout.palette.size()) * entry_size;
    std::string pixels;
    for (int32_t i = 0; i < layout.height; ++i) {
        const int32_t y = layout.top_down ? i : layout.height - 1 - i;
        pixels += bmp_row(layout, y);
    }
    std::string out = "BM";
    put32(out, offset + uint32_t(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, layout.header_size);
    if (core) {
        put16(out, uint32_t(layout.width));
        put16(out, uint32_t(layout.height));
        put16(out, 1);
        put16(out, layout.bit_count);
    } else {
        put32(out, uint32_t(layout.width));
        put32(out, uint32_t(layout.top_down ? -layout.height : layout.height));
        put16(out, 1);
        put16(out, layout.bit_count);
        put32(out, layout.compression);
        put32(out, uint32_t(pixels.size()));
        put32(out, 2835);
        put32(out, 2835);
        put32(out, uint32_t(layout.palette.size()));
        put32(out, 0);
    }
    out.append(layout.after_header.begin(), layout.after_header.end());
    for (const auto& entry : layout.palette) {
        out.push_back(static_cast<char>(entry[2]));
        out.push_back(static_cast<char>(entry[1]));
        out.push_back(static_cast<char>(entry[0]));
        if (!core) out.push_back(static_cast<char>(layout.fourth_byte));
    }
    return out + pixels;
}

namespace {

void append_png(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void flush_png(png_structp) {}

}  // namespace

std::string png_bytes(const PngLayout& layout) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test picture");
    }
    png_set_write_fn(png, &out, append_png, flush_png);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bit_depth, layout.colour_type,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const auto& entry : layout.palette)
        palette.push_back(png_color{entry[0], entry[1], entry[2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_color_16 grey{};
    grey.gray = static_cast<png_uint_16>(layout.transparent_grey);
    if (!layout.palette_alpha.empty()) {
        png_set_tRNS(png, info, layout.palette_alpha.data(), int(layout.palette_alpha.size()),
                     nullptr);
    } else if (layout.transparent_grey >= 0) {
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    png_write_info(png, info);
    const size_t row_bytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows;
    std::vector<uint8_t> samples = layout.samples;
    for (uint32_t y = 0; y < layout.height; ++y)
        rows.push_back(samples.data() + y * row_bytes);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string jpeg_bytes(uint32_t width, uint32_t height, int components,
                       const std::vector<uint8_t>& samples, int quality, JpegCoding coding) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1   ? JCS_GRAYSCALE
                          : components == 3 ? JCS_RGB
                          : components == 4 ? JCS_CMYK
                                            : JCS_UNKNOWN;
    jpeg_set_defaults(&info);
    if (components == 3) jpeg_set_colorspace(&info, JCS_YCbCr);
    jpeg_set_quality(&info, quality, TRUE);
    if (coding == JpegCoding::kProgressive) jpeg_simple_progression(&info);
    info.arith_code = coding == JpegCoding::kArithmetic;
    jpeg_start_compress(&info, TRUE);
    const size_t row_bytes = size_t(width) * components;
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + info.next_scanline * row_bytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

bool read_png_rgba(const std::string& path, uint32_t& width, uint32_t& height,
                   std::vector<uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    width = image.width;
    height = image.height;
    const bool ok = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

}  // namespace vexel::testing
