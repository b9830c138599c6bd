// Internal: the camera and projection of the 3D state.
#pragma once

#include "engine3d/duderedi_3d.h"

namespace vexel::engine3d {

// Loads the look-at matrix of eye, target and up as the view matrix and the modelview matrix,
// resets the transform stack and recomputes the frustum planes.
void load_camera(Duderedi3D& state, const float eye[3], const float target[3], const float up[3]);
// The six planes of projection × view, each scaled to a unit normal.
void update_frustum_planes(Duderedi3D& state);

}  // namespace vexel::engine3d
