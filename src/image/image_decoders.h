// Internal: the picture decoders and the order in which loaders try them. Each opens a disk file
// or a "mem://" virtual file, fills the buffer on success and leaves it reset on failure. A
// "mem://" block decodes without any window or GL context, so raw bytes can be fed to them.
#pragma once

#include <cstdint>
#include <string_view>

#include "image/image_buffer.h"

namespace vexel {

// Why a picture did not load, for the line a loader writes to the error log.
enum class ImageFailure : uint8_t {
    kNone,
    kNotFound,       // no file of that name could be opened
    kNotAPicture,    // its first bytes are those of no format the decoders read
    kNotAFontSheet,  // neither BMP nor PNG (font sheets are never JPEG)
    kUnsupported,    // a BMP, PNG or JPEG of a kind the engine does not read
    kDamaged,        // cut short, corrupt, or claiming more pixels than its data can hold
    kTooLarge,       // wider or taller than kMaxImageSide
    kTooManyPixels,  // more than kMaxImagePixels
    kOutOfMemory,
    kEmpty,      // decoded, but holds no pixels (set by the loaders)
    kNoTexture,  // decoded, but could not be made into a texture (set by the loaders)
};

// The words that end the load-failure line: "not found", "damaged", ...
std::string_view image_failure_reason(ImageFailure failure);
// kTooLarge or kTooManyPixels for sizes beyond the limits, kDamaged for negative ones, else
// kNone.
ImageFailure image_size_failure(int64_t width, int64_t height);

// Sets *why (when given) and returns false: one line for each way a load can fail.
inline bool image_failed(ImageFailure failure, ImageFailure* why) {
    if (why) *why = failure;
    return false;
}

// Every decoder below sets *why (when given) to kNone on success, else to the reason; a file
// that is not of the decoder's own format gives kNotAPicture.

// Uncompressed BMP with the 12- or 40-byte header, 1, 4, 8, 16 (5-5-5), 24 or 32 bits per
// pixel, bottom-up or top-down. Pixels of the key colour become transparent black.
bool decode_bmp(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why = nullptr);
// PNG through libpng: grey, RGB (keyed) or RGBA after expanding palettes, low bit depths and
// transparency chunks and stripping 16-bit samples.
bool decode_png(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why = nullptr);
// JPEG through libjpeg, Huffman-coded, with one, three or four components; never keyed. A file
// whose data ends before its last scan line fails.
bool decode_jpeg(const char* name, ImageBuffer& out, ImageFailure* why = nullptr);

// BMP, then PNG, then JPEG: the first decoder that accepts the file wins. On failure the reason
// is that of the first decoder that knew the file's format.
bool decode_image(const char* name, int32_t key, ImageBuffer& out, ImageFailure* why = nullptr);
// BMP, then PNG (font sheets).
bool decode_bmp_or_png(const char* name, int32_t key, ImageBuffer& out,
                       ImageFailure* why = nullptr);

}  // namespace vexel
