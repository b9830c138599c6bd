// Internal: a corner of a textured quad as the sprite and background draws give it, in screen
// pixels with its texture coordinate.
#pragma once

namespace vexel {

struct QuadVertex {
    float x, y, u, v;
};

}  // namespace vexel
