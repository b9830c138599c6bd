// Internal: the collision queries against an object slot, free of GL and of the 3D state. Each
// takes the transform of the current level as an explicit column-major matrix (object to world)
// and brings the query shape into the meshes' own coordinates with it (rotation and translation
// undone, scale not). A mesh takes part only when the frame exists and its triangle list holds at
// least one triangle.
#pragma once

#include <cstdint>

#include "mesh/mesh_vertex.h"
#include "mesh/object_slot.h"

namespace vexel::engine3d {

// The outcome of a sphere or box query: record is the index of the first record of the triangle
// that was hit, -1 when nothing was hit or the hit came from the quick acceptance.
struct SlotHit {
    bool hit = false;
    int32_t record = -1;
};

// The outcome of a ray query: the signed distance along the unit direction (0 for no hit) and the
// first record of the triangle it belongs to (-1 for none).
struct RayHit {
    float distance = 0;
    int32_t record = -1;
};

// Meshes in slot order, the first hit ends the search. Per mesh: rejected when the sphere misses
// the frame's bounding sphere; accepted at once when it holds the frame's first vertex; else the
// first triangle it touches. A negative radius touches nothing.
SlotHit sphere_against_slot(const ObjectSlot& slot, int32_t frame, float radius,
                            const Vec3f& centre, const float matrix[16]);

// The box centred at centre with full extents width, height, depth along the world axes, tested
// against every triangle by separating axes after the bounding-sphere rejection.
SlotHit box_against_slot(const ObjectSlot& slot, int32_t frame, const Vec3f& centre, float width,
                         float height, float depth, const float matrix[16]);

// Whether the sphere touches the box of those full extents centred at the matrix's origin and
// aligned with its axes. A negative radius touches nothing; the extents count by their size.
bool sphere_touches_level_box(const float matrix[16], const Vec3f& centre, float radius,
                              float width, float height, float depth);

// The ray from start along direction (normalised here unless it is nearly zero). Per mesh and
// over the meshes the smallest positive distance wins; without one, the negative distance closest
// to 0; 0 when nothing was met. The record is that of the triangle whose distance is returned.
RayHit ray_against_slot(const ObjectSlot& slot, int32_t frame, const Vec3f& start,
                        const Vec3f& direction, const float matrix[16]);

}  // namespace vexel::engine3d
