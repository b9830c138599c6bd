// Internal: the shapes the collision commands draw in debug mode, in world coordinates under the
// current modelview matrix. Colour and line width tell the result. Lighting and texturing are
// suspended while drawing; afterwards the line width is 1 and the colour (1, 1, 1, 2D alpha).
// Without a GL context nothing is drawn.
#pragma once

#include "mesh/mesh_vertex.h"

namespace vexel::engine3d {

// A once-subdivided icosahedron: green, width 1 for no hit; red, width 5 for a hit.
void draw_collision_sphere(const Vec3f& centre, float radius, bool hit);
// The twelve edges of the box with those full extents along the world axes; colours as above.
void draw_collision_box(const Vec3f& centre, float width, float height, float depth, bool hit);
// The ray from start along the unit direction: to the hit at that signed distance (green, width 5
// in front; white, width 5 behind), or red, width 1 and kDebugRayLength long when distance is 0.
void draw_collision_ray(const Vec3f& start, const Vec3f& direction, float distance);

inline constexpr float kDebugRayLength = 1000.0f;

}  // namespace vexel::engine3d
