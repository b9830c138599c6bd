// Internal: which light effect a draw applies and the per-mesh data it needs, made once.
#pragma once

#include <cstdint>

#include "engine3d/duderedi_3d.h"
#include "mesh/mesh_object.h"

namespace vexel::engine3d {

// The effect of the next draw: 0 when none is enabled; bump mapping and cel shading need two
// texture units and are drawn plain (0) without them.
uint8_t active_light_effect(const Duderedi3D& state);
// Generates what the effect reads and the mesh lacks: normals for every effect, tangents for
// bump mapping (normals shared at equal positions when auto_normals is 2). The triangle lists
// are rebuilt from the new values, so frame 0's static buffer is filled again.
void ensure_effect_normals(MeshObjectX& mesh, uint8_t effect, int32_t auto_normals);
// The effect light carried into the object space of the matrix (as it is when m is singular).
Vec3f light_in_object_space(const Duderedi3D& state, const Matrix4& m);

}  // namespace vexel::engine3d
