// Internal: the eight full-screen background pictures, each a grid of up to 8 x 8 textures.
// Background numbers outside 0..7 are ignored.
#pragma once

#include <cstdint>

#include "image/image_decoders.h"

namespace vexel {

// Decodes the file (no colour key) into tiles of the maximum texture size but at most 512
// pixels, picture rows upright from each tile's top-left corner; a picture needing more than
// 8 tiles either way is cropped to 8. False when decoding fails (the background keeps what it
// had) or an upload fails (the background is then empty); *why (when given) then says why.
bool load_background_file(int32_t background, const char* name, ImageFailure* why = nullptr);
// Copies the window's framebuffer into tiles of 128 pixels or more, reusing textures that fit.
void copy_screen_to_background(int32_t background);
// Deletes the background's textures and empties it.
void remove_background(int32_t background);
// True when background 0 holds a picture.
bool has_screen_background();

}  // namespace vexel
