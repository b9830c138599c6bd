// Vexel — offscreen surfaces: all drawing, 2D and 3D, redirected into a sprite slot's texture,
// which is then an ordinary sprite or 3D texture. Surfaces 0 to 31; framebuffer objects when
// the driver has them, else drawn in the window's lower-left corner and copied. Every present ends
// the current surface. Surface and slot numbers outside their tables are ignored.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Offscreen surfaces
//------------------------------------------------------------------------------------------------

// Makes the slot a transparent black width x height sprite (texture sides powers of two, at
// least 2) that surface n draws into. Sizes below 1 only empty the slot.
void create_offscreen(int32_t surface, int32_t slot, int32_t width, int32_t height);
// Ends the current surface, then drawing goes to this one (its picture size is the screen) until
// end_offscreen; a negative number, or a surface without a picture, leaves it on the screen.
void use_offscreen(int32_t surface);
// Drawing goes to the screen again; the surface's slot holds what was drawn.
void end_offscreen();

}  // namespace vexel
