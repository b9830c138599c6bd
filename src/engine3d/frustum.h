// Internal: whether an object's bounding sphere can be seen, tested before any of its data is
// touched.
#pragma once

#include "engine3d/matrix4.h"
#include "mesh/mesh_vertex.h"

namespace vexel::engine3d {

struct Sphere {
    Vec3f centre;
    float radius = 0;
};

// The largest length of the first three columns of m: how much m can stretch a radius. 1 when
// the upper 3 x 3 is the identity.
float largest_axis_scale(const Matrix4& m);
// The sphere given in object space, carried into the space of m.
Sphere transformed_sphere(const Matrix4& m, const Vec3f& centre, float radius);
// Visible unless it lies wholly outside one of the planes (a, b, c, d with a unit normal).
bool sphere_visible(const float planes[6][4], const Sphere& sphere);

}  // namespace vexel::engine3d
