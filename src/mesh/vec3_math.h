// Internal: the vector operations the mesh code, the renderer and the collision queries share.
// All arithmetic is in floats, as the script's numbers are stored.
#pragma once

#include <cmath>

#include "mesh/mesh_vertex.h"

namespace vexel {

inline Vec3f add(const Vec3f& a, const Vec3f& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3f sub(const Vec3f& a, const Vec3f& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3f times(const Vec3f& a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(const Vec3f& a, const Vec3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3f cross(const Vec3f& a, const Vec3f& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length_squared(const Vec3f& a) {
    return dot(a, a);
}

// Squared lengths at or below this leave a vector as it is when it is normalised.
inline constexpr float kTinySquared = 1e-7f;

// The unit vector along a, or a unchanged when it is (nearly) zero.
inline Vec3f normalised(const Vec3f& a) {
    const float squared = length_squared(a);
    if (squared <= kTinySquared) return a;
    const float length = std::sqrt(squared);
    return {a.x / length, a.y / length, a.z / length};
}

}  // namespace vexel
