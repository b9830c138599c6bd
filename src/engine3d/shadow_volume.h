// Internal: stencil shadow volumes. Each triangle either faces the light or not; the volume is
// the lit side of the mesh, its silhouette edges drawn out to infinity away from the light and,
// with caps, the unlit triangles projected to infinity. Drawn twice into the stencil buffer:
// faces towards the viewer count up, faces away count down, so pixels inside stay non-zero.
#pragma once

#include "engine3d/duderedi_3d.h"
#include "mesh/mesh_object.h"

namespace vexel::engine3d {

// Builds the mesh's edge list once, from frame 0: corners closer than 0.00001 on every axis are
// one vertex, and two triangle edges joining the same two vertices are neighbours.
void ensure_shadow_edges(MeshObjectX& mesh);
// Which triangles of the frame face the light (object space) and which of their edges are on
// the silhouette: those without a neighbour that faces the light as well.
void find_silhouette(MeshObjectX& mesh, const MeshFrame& frame, const Vec3f& light);
// Draws the volume of the frame into the stencil buffer, in the current modelview space.
void draw_shadow_volume(const Duderedi3D& state, const MeshObjectX& mesh, const MeshFrame& frame,
                        const Vec3f& light, bool caps);

}  // namespace vexel::engine3d
