// Internal: the records a draw hands to OpenGL when frame A cannot be drawn as it is: the blend
// buffer, filled from frame A (blended towards frame B), with the per-vertex light data of the
// bump and cel effects and the texture offset.
#pragma once

#include <cstdint>

#include "engine3d/frame_choice.h"
#include "mesh/mesh_object.h"

namespace vexel::engine3d {

struct BlendExtras {
    uint8_t effect = 0;  // 0 none, or the bump or cel effect, which write light data per record
    Vec3f light;         // the effect light in object space
    float ramp_row_height = 0;
    float offset_u = 0;
    float offset_v = 0;
};

// Fills mesh.blend from frame choice.a: position and normal blended towards frame choice.b by
// the weight (b + (a - b) * weight), every other field from frame A. Records that frame B lacks
// keep frame A's values.
void fill_blend_buffer(MeshObjectX& mesh, const FrameChoice& choice, const BlendExtras& extras);

// Moves every position of the records outwards along its normal by width.
void push_out_along_normals(std::vector<MeshVertex>& records, float width);

}  // namespace vexel::engine3d
