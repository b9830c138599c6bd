// Internal: the texture store's operations on sprite slots, used by the script commands, the
// fonts, offscreen surfaces and the 3D engine. Slot numbers outside the table are ignored (the
// operation does nothing and fails). All of them need the window's GL context.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"
#include "image/image_decoders.h"

namespace vexel {

// Uploads the block (x, y, w, h) of a picture (0 for w or h: to the picture's edge) as a
// power-of-two texture, upside down in the lower-left corner with the rest transparent black,
// cropped to the maximum texture size. A texture name of 0 gets a new name; another is deleted
// and made anew under the same name. With mip_texture, a new square texture with a full mipmap
// chain is made as well. normal: the texels are turned into a normal map first; nearest:
// nearest-texel filtering instead of linear. False when the block is empty or memory is short.
bool upload_texture(const ImageBuffer& picture, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t& texture, uint32_t* mip_texture, bool normal, bool nearest);

// Fills the slot from the picture: script slots with a mipmapped copy, font slots with nearest
// filtering and never as a normal map. False (slot empty) for an empty picture or a failed upload.
bool create_sprite(int32_t slot, const ImageBuffer& picture, bool normal);
// Empties the slot, decodes the file (BMP, PNG, JPEG) with the key, fills transparent colours
// when the file had no alpha of its own and creates the sprite. On failure *why (when given)
// says why.
bool load_sprite_file(int32_t slot, const char* name, int32_t key, bool normal,
                      ImageFailure* why = nullptr);
// Deletes the slot's textures and alpha mask; the frame size stays.
void free_sprite(int32_t slot);
// Empties every slot and every background: the GL context is going away.
void free_all_sprites();
// The slot's picture as RGBA rows from the top; false for an empty slot.
bool read_sprite_pixels(int32_t slot, ImageBuffer& picture);

}  // namespace vexel
