// Internal: bringing query shapes from world coordinates into a mesh's own coordinates. Only the
// rotation and the translation of the transform are undone; a scale is not, so radii and extents
// stay as given and are compared with the stored, unscaled mesh coordinates.
#pragma once

#include "mesh/mesh_vertex.h"

namespace vexel::engine3d {

class ObjectSpace {
public:
    // From a column-major 4x4 matrix (as OpenGL takes it) that carries object coordinates into
    // world coordinates. The columns of its upper 3x3 part are scaled to unit length first, so
    // that a scale in the matrix is neither undone nor applied.
    explicit ObjectSpace(const float matrix[16]);

    // R^T (p - t): a world point in object coordinates.
    Vec3f point(const Vec3f& world) const;

private:
    float rotation_[9];  // column-major 3x3
    Vec3f translation_;
};

}  // namespace vexel::engine3d
