// Vexel — collision queries: an object slot tested against a sphere, a box or a ray at one
// animation frame, and a sphere against a box placed by the current transform. Shapes are given
// in world coordinates; the current transform level's rotation and translation are undone to
// reach the meshes' own coordinates, its scale is not (radii and extents count unscaled). Object
// numbers outside the table give 0 and leave the last hit as it was. In debug mode the sphere,
// box and ray queries also draw the shape they tested.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Collision queries
//------------------------------------------------------------------------------------------------

// 1 when any mesh of the slot touches the sphere at that frame, else 0.
int32_t collide_sphere(int32_t num, int32_t frame, double radius, double x, double y, double z);
// 1 when any mesh touches the box centred at (x, y, z) with those full extents along X, Y, Z.
int32_t collide_box(int32_t num, int32_t frame, double x, double y, double z, double width,
                    double height, double depth);
// 1 when the sphere touches the box of those full extents centred at the current level's origin
// and aligned with its axes, else 0.
int32_t sphere_hits_box(double x, double y, double z, double radius, double width, double height,
                        double depth);
// Signed distance along the normalised direction from (x, y, z) to the nearest triangle in front,
// else to the one closest behind (negative); 0 when the ray meets none (or meets one exactly at
// its start).
double ray_distance(int32_t num, int32_t frame, double x, double y, double z, double dx, double dy,
                    double dz);
// The triangle the latest sphere, box or ray query hit, counted within its mesh; 0 when it hit
// none or hit through the quick acceptance (the sphere holding the frame's first vertex).
int32_t last_hit_face();

}  // namespace vexel
