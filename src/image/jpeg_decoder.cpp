// JPEG through libjpeg. The library's own error manager would print and exit; ours jumps back
// to the setjmp below, so a corrupt file only makes the decoder fail. The frame that calls
// setjmp holds nothing with a destructor.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include <vexel/error.h>

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

// A file that ends early is filled with grey by the library and only warned about: such a
// picture is not what the file meant, so the warning fails the decode. Other warnings (stray
// bytes between markers and the like) leave the picture intact and stay silent.
void judge_message(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) escape_on_error(info);
}

struct JpegJob {
    std::vector<uint8_t> file;
    ImageBuffer* out = nullptr;
    int channels = 0;
};

// Decodes straight into the picture: grey and colour pictures through the library's RGBA
// output (opaque alpha), four components as they are.
bool read_samples(jpeg_decompress_struct& info, ErrorManager& errors, JpegJob& job) {
    if (setjmp(errors.escape)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, job.file.data(), static_cast<unsigned long>(job.file.size()));
    jpeg_read_header(&info, TRUE);
    job.channels = info.num_components;
    if (job.channels != 1 && job.channels != 3 && job.channels != 4) {
        char line[64];
        std::snprintf(line, sizeof line, "JPEG: Channels: %d not supported!\n", job.channels);
        append_error_log(line);
        return false;
    }
    if (job.channels != 4) info.out_color_space = JCS_EXT_RGBA;
    info.do_fancy_upsampling = FALSE;
    jpeg_calc_output_dimensions(&info);
    if (info.output_components != 4 || !image_size_allowed(info.output_width, info.output_height) ||
        !job.out->size_for(static_cast<int32_t>(info.output_width),
                           static_cast<int32_t>(info.output_height)))
        return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.out->pixel(0, static_cast<int32_t>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool decode_stream(FileStream& stream, ImageBuffer& out) {
    JpegJob job;
    if (!read_whole_stream(stream, kMaxJpegFileSize, job.file) || job.file.empty()) return false;
    stream.close();
    job.out = &out;

    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = escape_on_error;
    errors.base.emit_message = judge_message;
    bool ok = false;
    try {
        ok = read_samples(info, errors, job);
    } catch (const std::bad_alloc&) {
    }
    jpeg_destroy_decompress(&info);
    if (!ok) return false;
    out.set_alpha_from_source(job.channels == 4);
    return true;
}

}  // namespace

bool decode_jpeg(const char* name, ImageBuffer& out) {
    out.reset();
    FileStream stream;
    if (!stream.open_read(name)) return false;
    try {
        if (decode_stream(stream, out)) return true;
    } catch (const std::bad_alloc&) {
    }
    out.reset();
    return false;
}

}  // namespace vexel
