// Vexel — sprites: numbered pictures (slots 0 to 65503) loaded from BMP, PNG or JPEG files,
// built from pixel arrays, grabbed from the screen or saved to files; and the full-screen
// background picture. Colours are R + G * 256 + B * 65536; a colour key of -1 means none.
#pragma once

#include <cstdint>

#include <vexel/dyn_array.h>
#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Pixels and colour keys
//------------------------------------------------------------------------------------------------

// Decodes a picture into one element per pixel (R + G*256 + B*65536 + A*16777216, rows from the
// top) and its size; keyed with the sprite colour key. An unresolvable name sets last error 3;
// false for a file no decoder accepts or an empty picture.
bool load_image_pixels(const DynString& file, int32_t& width, int32_t& height,
                       ExactIntArray& pixels);
// Sets the colour that becomes transparent in sprites and font sheets (-1: none).
void set_colour_key(int32_t colour);

}  // namespace vexel
