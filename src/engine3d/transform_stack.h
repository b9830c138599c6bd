// Internal: the transform stack that places the following objects. Each level keeps its own
// settings (user matrices, translation, rotations, scale) and a lazily rebuilt matrix composed
// onto its parent's: a vertex is scaled, rotated by the first rotation given, then by the later
// ones, translated, carried by the user matrices and then by the parent levels.
#pragma once

#include <vexel/dyn_array.h>

#include "engine3d/duderedi_3d.h"

namespace vexel::engine3d {

// Rebuilds the current level's matrix when it is not valid and copies it (column-major, as
// OpenGL takes it) into out; identity before the 3D state exists.
void current_level_matrix(float out[16]);

// Dimensions a script array to 16 elements and copies the matrix into it.
void fill_array(DynArray<double>& array, const Matrix4& m);

// Depth 0 with level 0 back to its defaults and the identity.
void reset_transform_stack(TransformStack& stack);
// The current level's matrix, rebuilt when needed.
const Matrix4& rebuild_level_matrix(TransformStack& stack);

}  // namespace vexel::engine3d
