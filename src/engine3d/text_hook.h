// Internal: how print_3d reaches the 2D text renderer, which lives above the 3D layer's
// dependencies. The 2D layer installs its print_text here; until then print_3d sets up its 3D
// placement and draws no glyphs.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel::engine3d {

// Draws the text in the current font with its top-left corner at (x, y) of the current
// modelview space, one unit a pixel, y growing downwards.
using PrintTextHook = void (*)(const DynString& text, double x, double y, int32_t proportional);

void set_print_text_hook(PrintTextHook hook);
PrintTextHook print_text_hook();

}  // namespace vexel::engine3d
