// Internal: the textured quad every stretched, rotated and background draw goes through.
#pragma once

namespace vexel {

struct QuadVertex {
    float x, y, u, v;
};

// Four vertices as a triangle fan with the bound texture clamped to its edges (the texture
// coordinates mean nothing while texturing is off).
void draw_textured_quad(const QuadVertex v[4]);

}  // namespace vexel
