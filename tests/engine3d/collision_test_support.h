// Test helpers for the collision queries: meshes of independent triangles built with the mesh
// layer's own finishing steps, and column-major transforms written out by hand.
#pragma once

#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "mesh/mesh_object.h"
#include "mesh/mesh_test_support.h"
#include "mesh/object_slot.h"

namespace vexel::testing {

using Triangle = std::array<Vec3f, 3>;
using Matrix = std::array<float, 16>;

// One frame of independent triangles, prepared and bounded.
inline MeshObjectX triangle_mesh(std::initializer_list<Triangle> triangles) {
    MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    for (const Triangle& t : triangles) {
        for (const Vec3f& p : t)
            builder.add(p.x, p.y, p.z);
    }
    return builder.finish();
}

inline ObjectSlot slot_with(MeshObjectX mesh) {
    ObjectSlot slot;
    slot.used = 1;
    slot.meshes.push_back(std::move(mesh));
    return slot;
}

inline Matrix identity_matrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

inline Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                r[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return r;
}

inline Matrix translation(float x, float y, float z) {
    Matrix m = identity_matrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

inline Matrix scaling(float x, float y, float z) {
    Matrix m = identity_matrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

// Counter-clockwise about +Z seen from +Z, as glRotatef(degrees, 0, 0, 1).
inline Matrix rotation_z(float degrees) {
    const float a = degrees * 3.14159265f / 180;
    Matrix m = identity_matrix();
    m[0] = std::cos(a);
    m[1] = std::sin(a);
    m[4] = -std::sin(a);
    m[5] = std::cos(a);
    return m;
}

// As glRotatef(90, 0, 1, 0): x goes to -z, z to x.
inline Matrix rotation_y90() {
    return {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
}

}  // namespace vexel::testing
