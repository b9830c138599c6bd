#include <vexel/app.h>
#include <vexel/collision.h>

#include "engine3d/collision_debug_draw.h"
#include "engine3d/collision_last_hit.h"
#include "engine3d/collision_queries.h"
#include "engine3d/duderedi_3d.h"
#include "engine3d/transform_stack.h"
#include "mesh/vec3_math.h"

namespace vexel {

namespace {

Vec3f point(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

bool debug_mode() {
    return project_settings().debug_mode != 0;
}

}  // namespace

int32_t collide_sphere(int32_t num, int32_t frame, double radius, double x, double y, double z) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    float matrix[16];
    engine3d::current_level_matrix(matrix);
    const Vec3f centre = point(x, y, z);
    const float r = static_cast<float>(radius);
    const engine3d::SlotHit result = engine3d::sphere_against_slot(*slot, frame, r, centre, matrix);
    engine3d::set_last_hit_record(result.record);
    if (debug_mode()) engine3d::draw_collision_sphere(centre, r, result.hit);
    return result.hit ? 1 : 0;
}

int32_t collide_box(int32_t num, int32_t frame, double x, double y, double z, double width,
                    double height, double depth) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    float matrix[16];
    engine3d::current_level_matrix(matrix);
    const Vec3f centre = point(x, y, z);
    const Vec3f size = point(width, height, depth);
    const engine3d::SlotHit result =
        engine3d::box_against_slot(*slot, frame, centre, size.x, size.y, size.z, matrix);
    engine3d::set_last_hit_record(result.record);
    if (debug_mode()) engine3d::draw_collision_box(centre, size.x, size.y, size.z, result.hit);
    return result.hit ? 1 : 0;
}

int32_t sphere_hits_box(double x, double y, double z, double radius, double width, double height,
                        double depth) {
    float matrix[16];
    engine3d::current_level_matrix(matrix);
    const Vec3f size = point(width, height, depth);
    return engine3d::sphere_touches_level_box(matrix, point(x, y, z), static_cast<float>(radius),
                                              size.x, size.y, size.z)
               ? 1
               : 0;
}

double ray_distance(int32_t num, int32_t frame, double x, double y, double z, double dx, double dy,
                    double dz) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    float matrix[16];
    engine3d::current_level_matrix(matrix);
    const Vec3f start = point(x, y, z);
    const Vec3f direction = normalised(point(dx, dy, dz));
    const engine3d::RayHit result =
        engine3d::ray_against_slot(*slot, frame, start, direction, matrix);
    engine3d::set_last_hit_record(result.record);
    if (debug_mode()) engine3d::draw_collision_ray(start, direction, result.distance);
    return result.distance;
}

int32_t last_hit_face() {
    return engine3d::last_hit_record() / 3;
}

}  // namespace vexel
