// Stand-in for the transform stack of the 3D state: until it is linked in, the current level is
// the identity. Removed when the transform stack provides current_level_matrix.
#include "engine3d/collision_transform.h"

namespace vexel::engine3d {

void current_level_matrix(float out[16]) {
    for (int i = 0; i < 16; ++i)
        out[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

}  // namespace vexel::engine3d
