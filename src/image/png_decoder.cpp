// PNG through libpng. libpng reports errors by jumping back to the setjmp below, so the frame
// that calls setjmp holds nothing with a destructor and every buffer lives in the caller. The
// rows are decoded straight into the picture. Nothing is allocated for a size the file claims
// before it is known that the file can hold that many pixels.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <vexel/error.h>

#include "image/colour_value.h"
#include "image/decode_file.h"
#include "image/image_decoders.h"
#include "image/stream_input.h"

namespace vexel {

namespace {

// Deflate turns one byte into at most 1032 (two one-bit codes for a 258-byte match), so a file
// of n bytes never inflates to more than this many times n.
constexpr int64_t kMaxInflateRatio = 1032;
// No ancillary chunk the decoder reads comes near this; without a limit, a chunk header alone
// makes libpng allocate what it declares.
constexpr png_alloc_size_t kMaxChunkBytes = 8 << 20;
// Ancillary chunks that change nothing in the decoded pixels (no gamma, background or shift is
// applied). libpng skips them unread: their quirks (a colour profile libpng dislikes, a gamma
// chunk of the wrong length), common in files that load everywhere, must not fail the picture
// now that libpng's benign errors are errors, and none of them is ever allocated.
constexpr png_byte kSkippedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0"
    "sTER\0tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

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
    int64_t file_size = 0;
    ImageBuffer* out = nullptr;
    std::vector<png_bytep> row_pointers;
    int channels = 0;  // of the file once palettes, low depths and transparency are expanded
    ImageFailure failure = ImageFailure::kDamaged;
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

// The bytes of pixel data (filter bytes aside) that the sizes in the header stand for.
int64_t claimed_data_bytes(png_structp png, png_infop info) {
    const int64_t bits_per_pixel =
        int64_t{png_get_channels(png, info)} * png_get_bit_depth(png, info);
    return (int64_t{png_get_image_width(png, info)} * png_get_image_height(png, info) *
                bits_per_pixel +
            7) /
           8;
}

// Decodes the whole image straight into the picture as RGBA (grey spread to R, G and B, opaque
// alpha added where the file has none); false, with job.failure saying why, on any libpng error
// or unsupported format. Allocation failures come back as std::bad_alloc.
bool read_rows(png_structp png, png_infop info, PngJob& job) {
    job.failure = ImageFailure::kDamaged;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    // libpng only warns about a chunk longer than the limit, and then allocates it anyway.
    png_set_benign_errors(png, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
    png_read_info(png, info);
    if (claimed_data_bytes(png, info) > kMaxInflateRatio * job.file_size) return false;
    job.failure = ImageFailure::kUnsupported;
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
    if (png_get_rowbytes(png, info) != size_t{width} * 4) return false;
    job.failure = image_size_failure(width, height);
    if (height == 0) job.failure = ImageFailure::kDamaged;
    if (job.failure != ImageFailure::kNone) return false;
    job.failure = ImageFailure::kOutOfMemory;
    if (!job.out->size_for(static_cast<int32_t>(width), static_cast<int32_t>(height))) return false;
    job.row_pointers.resize(height);
    for (uint32_t y = 0; y < height; ++y)
        job.row_pointers[y] = job.out->pixel(0, static_cast<int32_t>(y));
    job.failure = ImageFailure::kDamaged;
    png_read_image(png, job.row_pointers.data());
    png_read_end(png, nullptr);
    job.failure = ImageFailure::kNone;
    return true;
}

// A side beyond the limit is told apart from damage by the header itself, before libpng
// refuses it as exceeding its user limits.
ImageFailure header_size_failure(const uint8_t* start, size_t length) {
    if (length < 24 || std::memcmp(start + 12, "IHDR", 4) != 0) return ImageFailure::kNone;
    const auto u32_be = [](const uint8_t* p) {
        return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
    };
    const uint32_t width = u32_be(start + 16);
    const uint32_t height = u32_be(start + 20);
    if (width > PNG_UINT_31_MAX || height > PNG_UINT_31_MAX) return ImageFailure::kNone;
    return image_size_failure(width, height);
}

ImageFailure decode_stream(FileStream& stream, const char* name, int32_t key, ImageBuffer& out) {
    uint8_t start[24];
    if (!read_exact(stream, start, 4) || std::memcmp(start + 1, "PNG", 3) != 0)
        return ImageFailure::kNotAPicture;
    const size_t start_length = read_exact(stream, start + 4, 20) ? 24 : 4;
    if (const ImageFailure failure = header_size_failure(start, start_length);
        failure != ImageFailure::kNone)
        return failure;
    stream.seek(0, 0);

    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_decode, ignore_warning);
    if (!png) return ImageFailure::kOutOfMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return ImageFailure::kOutOfMemory;
    }
    png_set_read_fn(png, &stream, read_from_stream);

    PngJob job;
    job.name = name;
    job.file_size = stream.size();
    job.out = &out;
    try {
        read_rows(png, info, job);
    } catch (const std::bad_alloc&) {
        job.failure = ImageFailure::kOutOfMemory;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (job.failure != ImageFailure::kNone) return job.failure;

    // Only pictures without alpha of their own are keyed, and grey ones never.
    if (job.channels == 3 && key != kNoColourKey) {
        uint8_t* pixel = out.pixels();
        for (int64_t i = 0; i < int64_t{out.width()} * out.height(); ++i, pixel += 4)
            apply_colour_key(pixel, key);
    }
    out.set_alpha_from_source(job.channels == 4);
    return ImageFailure::kNone;
}

}  // namespace

bool decode_png(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why) {
    return decode_file(name, out, why,
                       [&](FileStream& stream) { return decode_stream(stream, name, key, out); });
}

}  // namespace vexel
