// Internal: writing pictures to files. The picture's rows run top to bottom.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"

namespace vexel {

enum class ImageFileFormat { kPng, kJpeg, kBmp };

// ".png" at the end (at least one character before it) gives PNG, a name ending in "jpg" JPEG,
// anything else BMP; letter case is ignored.
ImageFileFormat image_format_for_name(const char* name);

// 8-bit RGBA PNG, not interlaced.
bool encode_png(const char* name, const ImageBuffer& picture);
// Baseline RGB JPEG of quality 80; alpha is dropped.
bool encode_jpeg(const char* name, const ImageBuffer& picture);
// Bottom-up 24-bit BMP with the 40-byte header; every pixel that is not fully opaque is written
// in the default sprite colour key, so that loading the file as a sprite restores transparency.
bool encode_bmp(const char* name, const ImageBuffer& picture);

// The format the name asks for. The file is created anew ("mem://" names fail); an empty
// picture or any write failure gives false.
bool encode_image(const char* name, const ImageBuffer& picture);

}  // namespace vexel
