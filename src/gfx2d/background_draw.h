// Internal: drawing the tiled background pictures over the whole screen.
#pragma once

#include <cstdint>

namespace vexel {

// Draws background b opaque (blending off, alpha 1, alpha test off while drawing); afterwards
// texturing is off, blending stays off, the alpha is 1 and the alpha test follows its stored
// reference. Nothing for an empty or unknown background.
void draw_background(int32_t background);
// Draws background b over what is there with the given alpha (alpha blending on while drawing),
// leaving the state as draw_background does.
void blend_background(int32_t background, float alpha);

}  // namespace vexel
