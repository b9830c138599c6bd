#include "engine3d/collision_math.h"

#include <cmath>

namespace vexel::engine3d {

Vec3f normalised(const Vec3f& a) {
    const float squared = length_squared(a);
    if (squared <= kCollisionTinySquared) return a;
    return times(a, 1.0f / std::sqrt(squared));
}

}  // namespace vexel::engine3d
