// Internal: the picture decoders and the order in which loaders try them. Each opens a disk file
// or a "mem://" virtual file, fills the buffer on success and leaves it reset on failure.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"

namespace vexel {

// Uncompressed BMP with the 12- or 40-byte header, 1, 4, 8, 16 (5-5-5), 24 or 32 bits per
// pixel, bottom-up or top-down. Pixels of the key colour become transparent black.
bool decode_bmp(const char* name, int32_t key, ImageBuffer& out);
// PNG through libpng: grey, RGB (keyed) or RGBA after expanding palettes, low bit depths and
// transparency chunks and stripping 16-bit samples.
bool decode_png(const char* name, int32_t key, ImageBuffer& out);
// JPEG through libjpeg with one, three or four components; never keyed. A corrupt or truncated
// file fails.
bool decode_jpeg(const char* name, ImageBuffer& out);

// BMP, then PNG, then JPEG: the first decoder that accepts the file wins.
bool decode_image(const char* name, int32_t key, ImageBuffer& out);
// BMP, then PNG (font sheets).
bool decode_bmp_or_png(const char* name, int32_t key, ImageBuffer& out);

}  // namespace vexel
