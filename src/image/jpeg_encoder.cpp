// JPEG through libjpeg, written to the file through a destination of our own. Errors jump back
// to the setjmp below; that frame holds nothing with a destructor.
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "image/image_encoders.h"
#include "io/file_stream.h"

namespace vexel {

namespace {

constexpr int kQuality = 80;
constexpr uint32_t kChunkSize = 65536;

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf escape;
};

[[noreturn]] void escape_on_error(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void stay_silent(j_common_ptr, int) {}

struct StreamDestination {
    jpeg_destination_mgr base;
    FileStream* stream;
    JOCTET chunk[kChunkSize];
};

void start_chunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<StreamDestination*>(info->dest);
    destination->base.next_output_byte = destination->chunk;
    destination->base.free_in_buffer = kChunkSize;
}

void write_chunk(j_compress_ptr info, uint32_t count) {
    auto* destination = reinterpret_cast<StreamDestination*>(info->dest);
    if (count > 0 && !destination->stream->write(destination->chunk, count)) {
        info->err->msg_code = JERR_FILE_WRITE;
        info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    }
}

boolean write_full_chunk(j_compress_ptr info) {
    write_chunk(info, kChunkSize);
    start_chunk(info);
    return TRUE;
}

void write_last_chunk(j_compress_ptr info) {
    write_chunk(info, static_cast<uint32_t>(kChunkSize - info->dest->free_in_buffer));
}

bool compress(jpeg_compress_struct& info, ErrorManager& errors, jpeg_destination_mgr* destination,
              const ImageBuffer& picture, std::vector<uint8_t>& row) {
    if (setjmp(errors.escape)) return false;
    jpeg_create_compress(&info);
    info.dest = destination;
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const uint8_t* pixel = picture.pixel(0, static_cast<int32_t>(info.next_scanline));
        for (int32_t x = 0; x < picture.width(); ++x, pixel += 4) {
            row[size_t(x) * 3] = pixel[0];
            row[size_t(x) * 3 + 1] = pixel[1];
            row[size_t(x) * 3 + 2] = pixel[2];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

bool encode_jpeg(const char* name, const ImageBuffer& picture) {
    FileStream stream;
    if (!stream.open_write(name)) return false;
    std::vector<uint8_t> row;
    std::unique_ptr<StreamDestination> destination;
    try {
        row.resize(size_t(picture.width()) * 3);
        destination = std::make_unique<StreamDestination>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    destination->stream = &stream;
    destination->base.init_destination = start_chunk;
    destination->base.empty_output_buffer = write_full_chunk;
    destination->base.term_destination = write_last_chunk;

    jpeg_compress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = escape_on_error;
    errors.base.emit_message = stay_silent;
    const bool ok = compress(info, errors, &destination->base, picture, row);
    jpeg_destroy_compress(&info);
    stream.close();
    return ok;
}

}  // namespace vexel
