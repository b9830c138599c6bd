// Internal: the tests of one query shape against one triangle, all in the mesh's own coordinates.
#pragma once

#include "mesh/mesh_vertex.h"

namespace vexel::engine3d {

// Whether p lies inside the polygon of k vertices (p in its plane): the angles between the
// directions to consecutive vertices add up to at least 0.99 of a full turn. A pair of which one
// vertex coincides with p adds nothing.
bool inside_by_angle_sum(const Vec3f& p, const Vec3f* vertices, int k);

// Whether the sphere (centre q, radius r) touches the triangle a, b, c: its plane within r and
// the foot of q inside the triangle, or an edge closer than r.
bool sphere_touches_triangle(const Vec3f& q, float r, const Vec3f& a, const Vec3f& b,
                             const Vec3f& c);

// The oriented box: its centre and three half-axes (not necessarily unit or orthogonal).
struct OrientedBox {
    Vec3f centre;
    Vec3f half_axes[3];
};

// Whether the box and the triangle overlap: no separating axis among the box axes, the cross
// products of box axes and triangle edges and the triangle normal. Touching counts as overlap.
bool box_overlaps_triangle(const OrientedBox& box, const Vec3f& a, const Vec3f& b, const Vec3f& c);

// Where the line from s through e meets the triangle, as a multiple t of (e - s) from s
// (negative behind s); 0 when it misses, runs parallel to the plane or the triangle has no area.
float ray_meets_triangle(const Vec3f& s, const Vec3f& e, const Vec3f& a, const Vec3f& b,
                         const Vec3f& c);

}  // namespace vexel::engine3d
