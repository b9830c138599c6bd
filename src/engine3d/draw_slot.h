// Internal: drawing one object slot with the fixed-function pipeline: frame choice and blending,
// the frustum test, the vertex source and its buffers, the texture units and the light effects.
#pragma once

#include <cstdint>

#include "engine3d/duderedi_3d.h"

namespace vexel::engine3d {

struct DrawRequest {
    int32_t frame_a = 0;
    int32_t frame_b = 0;
    double t = 0;
    bool loop = false;
};

// Draws the slot's first mesh, or every mesh of a multi-mesh slot with its own textures. An
// empty slot draws nothing.
void draw_slot(Duderedi3D& state, ObjectSlot& slot, const DrawRequest& request);
// Draws one mesh of a slot with the textures already bound.
void draw_mesh(Duderedi3D& state, MeshObjectX& mesh, const DrawRequest& request);

}  // namespace vexel::engine3d
