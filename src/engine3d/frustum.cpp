#include "engine3d/frustum.h"

#include <algorithm>
#include <cmath>

namespace vexel::engine3d {

namespace {

bool upper_is_identity(const Matrix4& m) {
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            if (m[column * 4 + row] != (row == column ? 1.0f : 0.0f)) return false;
        }
    }
    return true;
}

}  // namespace

float largest_axis_scale(const Matrix4& m) {
    if (upper_is_identity(m)) return 1;
    float largest = 0;
    for (int column = 0; column < 3; ++column) {
        const float* c = &m[column * 4];
        largest = std::max(largest, std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]));
    }
    return largest;
}

Sphere transformed_sphere(const Matrix4& m, const Vec3f& centre, float radius) {
    const std::array<float, 4> p = transform(m, centre.x, centre.y, centre.z, 1);
    return Sphere{Vec3f{p[0], p[1], p[2]}, radius * largest_axis_scale(m)};
}

bool sphere_visible(const float planes[6][4], const Sphere& sphere) {
    const Vec3f& c = sphere.centre;
    for (int i = 0; i < 6; ++i) {
        const float* p = planes[i];
        if (p[0] * c.x + p[1] * c.y + p[2] * c.z + p[3] < -sphere.radius) return false;
    }
    return true;
}

}  // namespace vexel::engine3d
