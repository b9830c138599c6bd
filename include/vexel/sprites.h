// Vexel — sprites: numbered pictures loaded from BMP, PNG or JPEG files, built from pixel arrays,
// grabbed from the screen or saved to files; and the full-screen background picture. Slots run
// from 0 to 65535: 65504 to 65535 hold the sheets of fonts 0 to 31 (font f in 65504 + f), so a
// game's own pictures go in 0 to 65503. The 3D engine uses the same numbers as texture numbers.
// Colours are R + G * 256 + B * 65536; a colour key of -1 means none. Slot numbers outside
// 0..65535 are ignored: the command does nothing and gives its failure value.
#pragma once

#include <cstdint>

#include <vexel/dyn_array.h>
#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Loading sprites
//------------------------------------------------------------------------------------------------

// Empties the slot and loads the file into it (pixels of the colour key become transparent);
// an empty name only empties the slot. Last error 0, or 3 when the file cannot be found or read.
void load_sprite(const DynString& file, int32_t slot);
// As load_sprite, the picture's blue channel turned into a normal map; an empty name sets 3.
void load_bump_sprite(const DynString& file, int32_t slot);
// load_sprite, then the size of one animation frame.
void load_animation(const DynString& file, int32_t slot, int32_t frame_width, int32_t frame_height);
// The size of one animation frame of a loaded sprite; an empty slot is left as it is.
void set_sprite_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height);
// Sets the colour that becomes transparent in sprites and font sheets (-1: none).
void set_colour_key(int32_t colour);

//------------------------------------------------------------------------------------------------
// Sprite pixels
//------------------------------------------------------------------------------------------------

// A width x height sprite from one element per pixel (R + G*256 + B*65536 + A*16777216, rows
// from the top); false, and nothing changes, when the element count is not width x height.
bool sprite_from_pixels(const ExactIntArray& pixels, int32_t slot, int32_t width, int32_t height);
// The sprite's pixels in the same packing, one dimension; false for an empty slot.
bool sprite_to_pixels(ExactIntArray& pixels, int32_t slot);
// Decodes a picture into pixels as sprite_to_pixels gives them, keyed with the sprite colour
// key; an unresolvable name sets last error 3; false for an undecodable file or empty picture.
bool load_image_pixels(const DynString& file, int32_t& width, int32_t& height,
                       ExactIntArray& pixels);

//------------------------------------------------------------------------------------------------
// Sprite queries
//------------------------------------------------------------------------------------------------

void get_sprite_size(int32_t slot, int32_t& width, int32_t& height);  // 0, 0 when empty
void get_sprite_size(int32_t slot, double& width, double& height);    // 0, 0 when empty
int32_t get_sprite_texture(int32_t slot);  // the GL texture name, 0 when empty
int32_t find_free_sprite();                // the highest empty slot up to 65503; -1 when full

//------------------------------------------------------------------------------------------------
// Screen and files
//------------------------------------------------------------------------------------------------

// Copies the screen rectangle (origin top-left) into the slot; a width or height of 0 or less
// empties the slot.
void grab_sprite(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
// Writes the sprite as PNG (".png"), JPEG ("jpg") or else BMP; last error 3 on failure. In BMP,
// pixels that are not fully opaque are written in the default colour key.
void save_sprite(const DynString& file, int32_t slot);
// Writes the whole screen the same way; last error 0, or 3 on failure.
void save_screen(const DynString& file);

//------------------------------------------------------------------------------------------------
// Background
//------------------------------------------------------------------------------------------------

// Loads the picture drawn instead of clearing the screen at every frame and draws it at once.
// Last error 0; on failure 3, no background and the screen cleared to black.
void load_background(const DynString& file);
// The screen as it is now becomes the background.
void screen_to_background();
// No background; the screen is cleared with the colour now and at every frame (-1: never).
void clear_background(int32_t colour);

}  // namespace vexel
