// Internal: how a picture is laid out in a texture, without any GL: power-of-two sizes, the
// block copied upside down into the lower-left corner, and the square mipmap chain.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"

namespace vexel {

// Textures are never smaller than this either way (offscreen surfaces excepted).
inline constexpr int32_t kMinTextureSide = 16;

// The smallest power of two that is at least n and at least kMinTextureSide.
int32_t power_of_two_size(int32_t n);

// What a block of a picture becomes as texture level 0.
struct TextureBlock {
    int32_t width = 0;  // of the block, after clamping to the maximum texture size
    int32_t height = 0;
    ImageBuffer texels;  // power_of_two_size(width) x power_of_two_size(height), rows bottom-up
};

// The block at (x, y) of size w x h (0 meaning "to the picture's edge"), both sides clamped to
// max_side, copied so that texel row 0 holds the block's bottom row and everything outside the
// picture or the block stays transparent black. False when a side is below 1 or memory is short.
bool build_texture_block(const ImageBuffer& picture, int32_t x, int32_t y, int32_t w, int32_t h,
                         int32_t max_side, TextureBlock& block);

// The square a mipmap chain starts from: the longer side halved (averaging pairs) until both
// sides are equal. Both sides must be powers of two.
ImageBuffer make_mip_square(const ImageBuffer& texture);

// The next mipmap level of a square power-of-two level of at least 2 x 2: each texel a weighted
// mean of its 2 x 2 block (centre 4, right 2, below 2, below right 1, over 9), with the new
// level's last column and last row taking fewer neighbours (over 3) and its last texel copied.
ImageBuffer reduce_mip_level(const ImageBuffer& level);

}  // namespace vexel
