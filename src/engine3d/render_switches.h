// Internal: the render switches that other 3D commands set temporarily and then restore.
#pragma once

#include <cstdint>

namespace vexel::engine3d {

// Culling for a mode reduced to its sign: 0 off; 1 on with clockwise front faces (so
// counter-clockwise triangles are removed); -1 on with counter-clockwise front faces. The cull
// face is always the back. Stored as the state's cull mode; the remembered mode is untouched.
void apply_cull_mode(int32_t mode);

}  // namespace vexel::engine3d
