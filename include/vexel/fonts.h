// Vexel — bitmap fonts: 32 fonts, each a sheet of 16 character cells per row (8 rows for 128
// characters when the sheet is at least as wide as high, else 16 rows for 256), drawn in fixed
// cells or proportionally from the glyphs' measured widths. Font numbers outside 0..31 are
// ignored with last error 7. At start-up font 0 is loaded from the first of "Media/smalfont.png",
// "Media/smalfont.bmp", "smalfont.png" and "smalfont.bmp" next to the game, or is the built-in
// 8 x 8 font when there is none; it is the current font.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Fonts
//------------------------------------------------------------------------------------------------

// Loads a BMP or PNG sheet (pixels of the colour key, black until set_colour_key changes it,
// transparent) into the font and selects it; an empty name empties it. Last error 0, or 3 when
// the file cannot be found or read: the font is then the built-in one.
void load_font(const DynString& file, int32_t font);
void set_font(int32_t font);  // the font print_text uses; last error 7 outside 0..31
// Cell size of the current font; 0, 0 when it has no sheet.
void get_font_size(int32_t& width, int32_t& height);
int32_t find_free_font();  // the highest font without a sheet; -1 when all have one

//------------------------------------------------------------------------------------------------
// Text
//------------------------------------------------------------------------------------------------

// The text from (x, y) (top-left of the first cell) up to its end, or in a 128-character font
// up to a byte 128.
void print_text(const DynString& text, double x, double y, bool proportional);
// Width in pixels print_text would advance over the whole text.
int32_t text_width(const DynString& text, bool proportional);

}  // namespace vexel
