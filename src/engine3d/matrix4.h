// Internal: 4 x 4 matrices as OpenGL takes them (column-major float[16], element i of a script
// matrix array is element i here) and the few products the 3D commands build from them.
#pragma once

#include <array>

namespace vexel::engine3d {

using Matrix4 = std::array<float, 16>;

Matrix4 identity_matrix();
// a × b: a point is carried by b first, then by a.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
Matrix4 translation_matrix(float x, float y, float z);
Matrix4 scale_matrix(float x, float y, float z);
// The glRotatef matrix: degrees about the axis, normalised here. An axis along one coordinate
// axis gives the exact single-axis rotation (its sign picks the direction); a general axis
// shorter than 0.0001 gives false and leaves out untouched.
bool rotation_matrix(float degrees, float x, float y, float z, Matrix4& out);
// glFrustum and glOrtho for the box (left, right, bottom, top, near, far).
Matrix4 frustum_matrix(float left, float right, float bottom, float top, float near_plane,
                       float far_plane);
Matrix4 ortho_matrix(float left, float right, float bottom, float top, float near_plane,
                     float far_plane);
// The gluLookAt matrix of eye, target and up; a vector of length 0 stays unnormalised.
Matrix4 look_at_matrix(const float eye[3], const float target[3], const float up[3]);
// The inverse by cofactors in double precision; false for a singular matrix (out untouched).
bool invert(const Matrix4& m, Matrix4& out);
// m · (x, y, z, w).
std::array<float, 4> transform(const Matrix4& m, float x, float y, float z, float w);

}  // namespace vexel::engine3d
