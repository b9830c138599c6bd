#include "engine3d/collision_space.h"

#include <cmath>

#include "mesh/vec3_math.h"

namespace vexel::engine3d {

ObjectSpace::ObjectSpace(const float matrix[16])
    : translation_{matrix[12], matrix[13], matrix[14]} {
    for (int column = 0; column < 3; ++column) {
        const float* c = matrix + column * 4;
        const float length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        // A column squashed to nothing has no direction to keep; it stays as it is.
        const float by = length > 0 ? 1.0f / length : 1.0f;
        for (int row = 0; row < 3; ++row)
            rotation_[column * 3 + row] = c[row] * by;
    }
}

Vec3f ObjectSpace::point(const Vec3f& world) const {
    const Vec3f d = sub(world, translation_);
    const float* r = rotation_;
    return {r[0] * d.x + r[1] * d.y + r[2] * d.z, r[3] * d.x + r[4] * d.y + r[5] * d.z,
            r[6] * d.x + r[7] * d.y + r[8] * d.z};
}

}  // namespace vexel::engine3d
