// PNG through libpng. libpng reports errors by jumping back to the setjmp below, so the frame
// that calls setjmp holds nothing with a destructor and every buffer lives in the caller. The
// rows are decoded straight into the picture.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <vexel/error.h>

#include "image/colour_value.h"
#include "image/image_decoders.h"
#include "image/stream_input.h"

namespace vexel {

namespace {

void read_from_stream(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<FileStream*>(png_get_io_ptr(png));
    if (length > UINT32_MAX || !read_exact(*stream, data, static_cast<uint32_t>(length)))
        png_error(png, "read past the end of the file");
}

[[noreturn]] void fail_decode(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

struct PngJob {
    const char* name = nullptr;
    ImageBuffer* out = nullptr;
    std::vector<png_bytep> row_pointers;
    int channels = 0;  // of the file once palettes, low depths and transparency are expanded
};

void report_bit_depth(const char* name, int depth) {
    char line[1200];
    std::snprintf(line, sizeof line, "File %s has bit depth %d.\n", name, depth);
    write_stdout(line);
    write_stdout("Only bit depth of 8 is supported.\n");
}

void report_colour_type(const char* name) {
    char line[1200];
    std::snprintf(line, sizeof line, "File %s has unsupported color type.\n", name);
    write_stdout(line);
    write_stdout("Types GRAY, RGB and RGB_ALPHA are supported.\n");
}

// The colour type and channel count that expanding palettes, low depths and transparency makes.
void expanded_form(png_structp png, png_infop info, int* colour_type, int* channels) {
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    *colour_type = png_get_color_type(png, info);
    if (*colour_type == PNG_COLOR_TYPE_PALETTE) *colour_type = PNG_COLOR_TYPE_RGB;
    if (transparency) *colour_type |= PNG_COLOR_MASK_ALPHA;
    switch (*colour_type) {
        case PNG_COLOR_TYPE_GRAY:
            *channels = 1;
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            *channels = 2;
            break;
        case PNG_COLOR_TYPE_RGB:
            *channels = 3;
            break;
        default:
            *channels = 4;
            break;
    }
}

// Decodes the whole image straight into the picture as RGBA (grey spread to R, G and B, opaque
// alpha added where the file has none); false on any libpng error or unsupported format.
// Allocation failures come back as std::bad_alloc.
bool read_rows(png_structp png, png_infop info, PngJob& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    int colour_type = 0;
    expanded_form(png, info, &colour_type, &job.channels);
    if (job.channels != 1 && job.channels != 3 && job.channels != 4) return false;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);

    const int depth = png_get_bit_depth(png, info);
    if (depth != 8) {
        report_bit_depth(job.name, depth);
        return false;
    }
    if (colour_type != PNG_COLOR_TYPE_GRAY && colour_type != PNG_COLOR_TYPE_RGB &&
        colour_type != PNG_COLOR_TYPE_RGB_ALPHA) {
        report_colour_type(job.name);
        return false;
    }
    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    if (height == 0 || !image_size_allowed(width, height)) return false;
    if (png_get_rowbytes(png, info) != size_t{width} * 4) return false;
    if (!job.out->size_for(static_cast<int32_t>(width), static_cast<int32_t>(height))) return false;
    job.row_pointers.resize(height);
    for (uint32_t y = 0; y < height; ++y)
        job.row_pointers[y] = job.out->pixel(0, static_cast<int32_t>(y));
    png_read_image(png, job.row_pointers.data());
    png_read_end(png, nullptr);
    return true;
}

bool decode_stream(FileStream& stream, const char* name, int32_t key, ImageBuffer& out) {
    uint8_t signature[4];
    if (!read_exact(stream, signature, 4) || std::memcmp(signature + 1, "PNG", 3) != 0)
        return false;
    stream.seek(0, 0);

    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_decode, ignore_warning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, &stream, read_from_stream);

    PngJob job;
    job.name = name;
    job.out = &out;
    bool ok = false;
    try {
        ok = read_rows(png, info, job);
    } catch (const std::bad_alloc&) {
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return false;

    // Only pictures without alpha of their own are keyed, and grey ones never.
    if (job.channels == 3 && key != kNoColourKey) {
        uint8_t* pixel = out.pixels();
        for (int64_t i = 0; i < int64_t{out.width()} * out.height(); ++i, pixel += 4)
            apply_colour_key(pixel, key);
    }
    out.set_alpha_from_source(job.channels == 4);
    return true;
}

}  // namespace

bool decode_png(const char* name, int32_t key, ImageBuffer& out) {
    out.reset();
    FileStream stream;
    if (!stream.open_read(name)) return false;
    if (decode_stream(stream, name, key, out)) return true;
    out.reset();
    return false;
}

}  // namespace vexel
