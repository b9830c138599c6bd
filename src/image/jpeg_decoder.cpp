// JPEG through libjpeg. The library's own error manager would print and exit; ours jumps back
// to the setjmp below, so a corrupt file only makes the decoder fail. The frame that calls
// setjmp holds nothing with a destructor. Nothing is allocated for the sizes the header claims
// before it is known that the file can hold that many blocks.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include <vexel/error.h>

#include "image/decode_file.h"
#include "image/image_decoders.h"
#include "image/stream_input.h"

namespace vexel {

namespace {

// Compressed files larger than this are not read into memory.
constexpr int64_t kMaxJpegFileSize = int64_t{256} << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf escape;
};

[[noreturn]] void escape_on_error(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// Data that ends early, at the end of the file or at a marker in the middle of a scan, is
// filled with grey by the library and only warned about: such a picture is not what the file
// meant, so the warning fails the decode. Other warnings (stray bytes between markers and the
// like) leave the picture intact and stay silent.
void judge_message(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) escape_on_error(info);
}

// Every block of a Huffman-coded scan costs at least one bit (two in a sequential scan: the DC
// difference and the end of the block), so the blocks of the first scan must fit in the file.
// A progressive file that does not start with a DC scan is damaged: its first scan would be
// free to cover any number of blocks in a few bytes.
bool first_scan_fits(const jpeg_decompress_struct& info, int64_t file_size) {
    if (info.progressive_mode && info.Ss != 0) return false;
    int64_t blocks = 0;
    for (int i = 0; i < info.comps_in_scan; ++i) {
        const jpeg_component_info* component = info.cur_comp_info[i];
        blocks += int64_t{component->width_in_blocks} * component->height_in_blocks;
    }
    const int64_t bits_per_block = info.progressive_mode ? 1 : 2;
    return blocks * bits_per_block <= file_size * 8;
}

struct JpegJob {
    std::vector<uint8_t> file;
    ImageBuffer* out = nullptr;
    int channels = 0;
    ImageFailure failure = ImageFailure::kDamaged;
};

// Decodes straight into the picture: grey and colour pictures through the library's RGBA
// output (opaque alpha), four components as they are. False, with job.failure saying why, when
// the file cannot be decoded.
bool read_samples(jpeg_decompress_struct& info, ErrorManager& errors, JpegJob& job) {
    job.failure = ImageFailure::kDamaged;
    if (setjmp(errors.escape)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, job.file.data(), static_cast<unsigned long>(job.file.size()));
    jpeg_read_header(&info, TRUE);
    job.channels = info.num_components;
    job.failure = ImageFailure::kUnsupported;
    if (job.channels != 1 && job.channels != 3 && job.channels != 4) {
        char line[64];
        std::snprintf(line, sizeof line, "JPEG: Channels: %d not supported!\n", job.channels);
        append_error_log(line);
        return false;
    }
    // Arithmetic coding can hold any number of blocks in a few bytes, so no file size bounds
    // what it claims; libjpeg 6b, the library pictures were made for, never decoded it either.
    if (info.arith_code) return false;
    if (job.channels != 4) info.out_color_space = JCS_EXT_RGBA;
    info.do_fancy_upsampling = FALSE;
    jpeg_calc_output_dimensions(&info);
    if (info.output_components != 4) return false;
    job.failure = image_size_failure(info.output_width, info.output_height);
    if (job.failure != ImageFailure::kNone) return false;
    job.failure = ImageFailure::kDamaged;
    if (!first_scan_fits(info, static_cast<int64_t>(job.file.size()))) return false;
    job.failure = ImageFailure::kOutOfMemory;
    if (!job.out->size_for(static_cast<int32_t>(info.output_width),
                           static_cast<int32_t>(info.output_height)))
        return false;
    job.failure = ImageFailure::kDamaged;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.out->pixel(0, static_cast<int32_t>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    job.failure = ImageFailure::kNone;
    return true;
}

ImageFailure decode_stream(FileStream& stream, ImageBuffer& out) {
    uint8_t start[2];
    if (!read_exact(stream, start, 2) || start[0] != 0xFF || start[1] != 0xD8)
        return ImageFailure::kNotAPicture;
    JpegJob job;
    if (!read_whole_stream(stream, kMaxJpegFileSize, job.file))
        return stream.size() > kMaxJpegFileSize ? ImageFailure::kOutOfMemory
                                                : ImageFailure::kDamaged;
    stream.close();
    job.out = &out;

    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = escape_on_error;
    errors.base.emit_message = judge_message;
    try {
        read_samples(info, errors, job);
    } catch (const std::bad_alloc&) {
        job.failure = ImageFailure::kOutOfMemory;
    }
    jpeg_destroy_decompress(&info);
    if (job.failure != ImageFailure::kNone) return job.failure;
    out.set_alpha_from_source(job.channels == 4);
    return ImageFailure::kNone;
}

}  // namespace

bool decode_jpeg(const char* name, ImageBuffer& out, ImageFailure* why) {
    return decode_file(name, out, why,
                       [&](FileStream& stream) { return decode_stream(stream, out); });
}

}  // namespace vexel
