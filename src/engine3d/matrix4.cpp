#include "engine3d/matrix4.h"

#include <cmath>

namespace vexel::engine3d {

namespace {

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kShortestAxis = 0.0001f;

void normalise(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0) return;
    for (int i = 0; i < 3; ++i)
        v[i] /= length;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

float dot(const float a[3], const float b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The rotation in the plane of the two coordinate axes first and second (column-major indices).
Matrix4 plane_rotation(float c, float s, int first, int second) {
    Matrix4 m = identity_matrix();
    m[first * 4 + first] = c;
    m[second * 4 + second] = c;
    m[first * 4 + second] = s;
    m[second * 4 + first] = -s;
    return m;
}

}  // namespace

Matrix4 identity_matrix() {
    Matrix4 m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
    }
    return out;
}

Matrix4 translation_matrix(float x, float y, float z) {
    Matrix4 m = identity_matrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 scale_matrix(float x, float y, float z) {
    Matrix4 m = identity_matrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

bool rotation_matrix(float degrees, float x, float y, float z, Matrix4& out) {
    const float radians = degrees * kDegreesToRadians;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    if (y == 0 && z == 0 && x != 0) {
        out = plane_rotation(c, x > 0 ? s : -s, 1, 2);
        return true;
    }
    if (x == 0 && z == 0 && y != 0) {
        out = plane_rotation(c, y > 0 ? s : -s, 2, 0);
        return true;
    }
    if (x == 0 && y == 0 && z != 0) {
        out = plane_rotation(c, z > 0 ? s : -s, 0, 1);
        return true;
    }
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length < kShortestAxis) return false;
    x /= length;
    y /= length;
    z /= length;
    const float t = 1 - c;
    Matrix4 m = identity_matrix();
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    out = m;
    return true;
}

Matrix4 frustum_matrix(float left, float right, float bottom, float top, float near_plane,
                       float far_plane) {
    Matrix4 m{};
    m[0] = 2 * near_plane / (right - left);
    m[5] = 2 * near_plane / (top - bottom);
    m[8] = (right + left) / (right - left);
    m[9] = (top + bottom) / (top - bottom);
    m[10] = -(far_plane + near_plane) / (far_plane - near_plane);
    m[11] = -1;
    m[14] = -2 * far_plane * near_plane / (far_plane - near_plane);
    return m;
}

Matrix4 ortho_matrix(float left, float right, float bottom, float top, float near_plane,
                     float far_plane) {
    Matrix4 m = identity_matrix();
    m[0] = 2 / (right - left);
    m[5] = 2 / (top - bottom);
    m[10] = -2 / (far_plane - near_plane);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(far_plane + near_plane) / (far_plane - near_plane);
    return m;
}

Matrix4 look_at_matrix(const float eye[3], const float target[3], const float up[3]) {
    float z[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]};
    normalise(z);
    float x[3];
    cross(up, z, x);
    normalise(x);
    float y[3];
    cross(z, x, y);
    normalise(y);
    Matrix4 m = identity_matrix();
    for (int i = 0; i < 3; ++i) {
        m[i * 4 + 0] = x[i];
        m[i * 4 + 1] = y[i];
        m[i * 4 + 2] = z[i];
    }
    m[12] = -dot(x, eye);
    m[13] = -dot(y, eye);
    m[14] = -dot(z, eye);
    return m;
}

bool invert(const Matrix4& source, Matrix4& out) {
    double m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = source[i];
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double determinant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (determinant == 0 || !std::isfinite(determinant)) return false;
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<float>(inv[i] / determinant);
    return true;
}

std::array<float, 4> transform(const Matrix4& m, float x, float y, float z, float w) {
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
    return out;
}

}  // namespace vexel::engine3d
