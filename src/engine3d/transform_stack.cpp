#include "engine3d/transform_stack.h"

#include <algorithm>

#include <vexel/scene3d.h>

namespace vexel::engine3d {

namespace {

// The matrix a level starts from: identity for level 0, else its parent's (already rebuilt by
// push_matrix and unchanged while the child is open).
const Matrix4& parent_matrix(const TransformStack& stack) {
    static const Matrix4 kIdentity = identity_matrix();
    return stack.depth == 0 ? kIdentity : stack.levels[stack.depth - 1].matrix;
}

TransformFrame& current_level(TransformStack& stack) {
    return stack.levels[stack.depth];
}

// A level with default settings whose matrix is its parent's.
void reset_level(TransformStack& stack) {
    TransformFrame& level = current_level(stack);
    level.matrix_count = 0;
    level.rotation_count = 0;
    std::fill(std::begin(level.scale), std::end(level.scale), 1.0f);
    std::fill(std::begin(level.translation), std::end(level.translation), 0.0f);
    level.matrix = parent_matrix(stack);
    level.matrix_valid = 0;
}

// What translate and scale share: the level forgets its rotations and user matrices.
void clear_placement(TransformStack& stack) {
    TransformFrame& level = current_level(stack);
    level.matrix = parent_matrix(stack);
    level.rotation_count = 0;
    level.matrix_count = 0;
    level.matrix_valid = 0;
}

}  // namespace

void fill_array(DynArray<double>& array, const Matrix4& m) {
    array.dim(16);
    for (int32_t i = 0; i < 16; ++i)
        array.at(i) = m[static_cast<size_t>(i)];
}

void reset_transform_stack(TransformStack& stack) {
    stack.depth = 0;
    reset_level(stack);
}

const Matrix4& rebuild_level_matrix(TransformStack& stack) {
    TransformFrame& level = current_level(stack);
    if (level.matrix_valid) return level.matrix;
    // Always from the parent's matrix: a level rebuilt, changed and rebuilt again must not
    // compose its own settings twice.
    Matrix4 m = parent_matrix(stack);
    for (int32_t i = 0; i < level.matrix_count; ++i)
        m = multiply(m, level.user_matrices[i]);
    const float* t = level.translation;
    if (t[0] != 0 || t[1] != 0 || t[2] != 0) m = multiply(m, translation_matrix(t[0], t[1], t[2]));
    for (int32_t i = level.rotation_count - 1; i >= 0; --i) {
        const Rotation& r = level.rotations[i];
        Matrix4 rotation;
        if (rotation_matrix(r.degrees, r.x, r.y, r.z, rotation)) m = multiply(m, rotation);
    }
    const float* s = level.scale;
    if (s[0] != 1 || s[1] != 1 || s[2] != 1) m = multiply(m, scale_matrix(s[0], s[1], s[2]));
    level.matrix = m;
    level.matrix_valid = 1;
    return level.matrix;
}

void current_level_matrix(float out[16]) {
    Duderedi3D* state = duderedi_3d();
    const Matrix4 m = state ? rebuild_level_matrix(state->transform_stack) : identity_matrix();
    std::copy(m.begin(), m.end(), out);
}

}  // namespace vexel::engine3d

namespace vexel {

using engine3d::duderedi_3d;

void translate(double x, double y, double z) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    engine3d::clear_placement(state->transform_stack);
    float* t = engine3d::current_level(state->transform_stack).translation;
    t[0] = static_cast<float>(x);
    t[1] = static_cast<float>(y);
    t[2] = static_cast<float>(z);
}

void scale(double x, double y, double z) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    engine3d::clear_placement(state->transform_stack);
    float* s = engine3d::current_level(state->transform_stack).scale;
    s[0] = static_cast<float>(x);
    s[1] = static_cast<float>(y);
    s[2] = static_cast<float>(z);
}

void rotate(double degrees, double x, double y, double z) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    engine3d::TransformFrame& level = engine3d::current_level(state->transform_stack);
    if (level.rotation_count >= engine3d::kLevelEntries) return;
    level.rotations[level.rotation_count++] =
        engine3d::Rotation{static_cast<float>(degrees), static_cast<float>(x),
                           static_cast<float>(y), static_cast<float>(z)};
    level.matrix_valid = 0;
}

void multiply_matrix(const DynArray<double>& matrix) {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state || matrix.dims() != 1 || matrix.count() != 16) return;
    engine3d::TransformFrame& level = engine3d::current_level(state->transform_stack);
    if (level.matrix_count >= engine3d::kLevelEntries) return;
    engine3d::Matrix4& stored = level.user_matrices[level.matrix_count++];
    for (int32_t i = 0; i < 16; ++i)
        stored[static_cast<size_t>(i)] = static_cast<float>(matrix.elements()[i]);
    level.matrix_valid = 0;
}

void push_matrix() {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    engine3d::TransformStack& stack = state->transform_stack;
    if (stack.depth >= engine3d::kTransformLevels - 1) return;
    engine3d::rebuild_level_matrix(stack);
    ++stack.depth;
    engine3d::reset_level(stack);
}

void pop_matrix() {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return;
    engine3d::TransformStack& stack = state->transform_stack;
    if (stack.depth > 0) {
        --stack.depth;
    } else {
        engine3d::reset_level(stack);
    }
}

void get_matrix(DynArray<double>& matrix) {
    engine3d::Duderedi3D* state = duderedi_3d();
    const engine3d::Matrix4 m = state ? engine3d::rebuild_level_matrix(state->transform_stack)
                                      : engine3d::identity_matrix();
    engine3d::fill_array(matrix, m);
}

}  // namespace vexel
