// Internal: whole-picture filters applied before a picture becomes a texture.
#pragma once

#include "image/image_buffer.h"

namespace vexel {

// Gives every fully transparent pixel the mean colour of its opaque neighbours that lie inside
// the picture's border (black when there are none), so that bilinear filtering at the edge of a
// keyed shape blends towards the shape's colour. Alpha is left as it is.
void fill_transparent_colours(ImageBuffer& buffer);

// Turns a height field (the blue channel, wrapping at every edge) into a normal map: R, G, B
// hold the normal's x, y and z mapped from -1..1 to 0..255, alpha is kept. The buffer holds
// texture rows bottom-up, so "above" is the next row.
void make_normal_map(ImageBuffer& buffer);

}  // namespace vexel
