// PNG through libpng. Errors jump back to the setjmp below; that frame holds nothing with a
// destructor.
#include <png.h>

#include "image/image_encoders.h"
#include "io/file_stream.h"

namespace vexel {

namespace {

void write_to_stream(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<FileStream*>(png_get_io_ptr(png));
    if (length > UINT32_MAX || !stream->write(data, static_cast<uint32_t>(length)))
        png_error(png, "write failed");
}

void flush_nothing(png_structp) {}

[[noreturn]] void fail_encode(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

bool write_rows(png_structp png, png_infop info, const ImageBuffer& picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<uint32_t>(picture.width()),
                 static_cast<uint32_t>(picture.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < picture.height(); ++y)
        png_write_row(png, picture.pixel(0, y));
    png_write_end(png, info);
    return true;
}

}  // namespace

bool encode_png(const char* name, const ImageBuffer& picture) {
    FileStream stream;
    if (!stream.open_write(name)) return false;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_encode, ignore_warning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (info) {
        png_set_write_fn(png, &stream, write_to_stream, flush_nothing);
        ok = write_rows(png, info, picture);
    }
    png_destroy_write_struct(&png, &info);
    stream.close();
    return ok;
}

}  // namespace vexel
