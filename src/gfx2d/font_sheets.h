// Internal: how fonts get their glyph sheets and measurements: the built-in font, the analysis
// of a loaded sheet, and the fonts start-up prepares. Font numbers outside 0..31 are ignored.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"

namespace vexel {

// Builds the built-in 128 x 64 sheet of 8 x 8 cells (5 x 6 glyphs with a dark outline) into the
// font's sheet slot, every character 8 pixels wide. False when the upload fails.
bool install_builtin_font(int32_t font);
// The built-in sheet as a picture (rows from the top).
ImageBuffer builtin_font_picture();
// Measures every character cell of the picture (alpha not 0 counts as ink) into the font's
// glyph records; the space takes the width of "j".
void analyse_font_sheet(int32_t font, const ImageBuffer& picture);
// Glyph records of cells 16 pixels wide for a font that has no sheet yet.
void init_empty_font(int32_t font);
// Font 0 from the first of the default font files that the name resolution finds; the built-in
// font when none is found.
void load_default_font();

}  // namespace vexel
