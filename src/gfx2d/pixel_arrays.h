// Internal: pictures as script integer arrays, one element per pixel, rows from the top, each
// R + G * 256 + B * 65536 + A * 16777216.
#pragma once

#include <cstdint>

#include <vexel/dyn_array.h>

#include "image/image_buffer.h"

namespace vexel {

// Resizes the array to one dimension of width x height elements and fills it from the picture.
void pack_pixels(const ImageBuffer& picture, ExactIntArray& array);
// A w x h picture from the array's first w x h elements; false when the element count is not
// exactly w x h or the size is not allowed.
bool unpack_pixels(const ExactIntArray& array, int32_t w, int32_t h, ImageBuffer& picture);

}  // namespace vexel
