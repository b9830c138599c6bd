#include "engine3d/collision_queries.h"

#include <cmath>
#include <vector>

#include "engine3d/collision_space.h"
#include "engine3d/collision_triangle.h"
#include "mesh/vec3_math.h"

namespace vexel::engine3d {

namespace {

// The frame's triangle list when it can be tested, else null.
const std::vector<MeshVertex>* testable_triangles(const MeshObjectX& mesh, int32_t frame) {
    if (frame < 0 || static_cast<size_t>(frame) >= mesh.frames.size()) return nullptr;
    const std::vector<MeshVertex>& triangles = mesh.frames[static_cast<size_t>(frame)].triangles;
    return triangles.size() >= 3 ? &triangles : nullptr;
}

// A chosen distance with its triangle: the smallest positive one, else the negative one closest
// to 0. Distances of exactly 0 cannot be told from a miss and are not kept.
class RayChoice {
public:
    void offer(float distance, int32_t record) {
        if (distance > 0) {
            if (front_.distance == 0 || distance < front_.distance) front_ = {distance, record};
        } else if (distance < 0) {
            if (behind_.distance == 0 || distance > behind_.distance) behind_ = {distance, record};
        }
    }
    RayHit chosen() const { return front_.distance != 0 ? front_ : behind_; }

private:
    RayHit front_;
    RayHit behind_;
};

}  // namespace

SlotHit sphere_against_slot(const ObjectSlot& slot, int32_t frame, float radius,
                            const Vec3f& centre, const float matrix[16]) {
    if (!(radius >= 0)) return {};
    const Vec3f c = ObjectSpace(matrix).point(centre);
    const float reach = radius * radius;
    for (const MeshObjectX& mesh : slot.meshes) {
        const std::vector<MeshVertex>* triangles = testable_triangles(mesh, frame);
        if (!triangles) continue;
        const MeshFrame& bounds = mesh.frames[static_cast<size_t>(frame)];
        const float around = radius + bounds.bound_radius;
        if (around * around < length_squared(sub(c, bounds.bound_centre))) continue;
        if (reach >= length_squared(sub(c, (*triangles)[0].position))) return {true, -1};

        for (size_t i = 0; i + 2 < triangles->size(); i += 3) {
            if (sphere_touches_triangle(c, radius, (*triangles)[i].position,
                                        (*triangles)[i + 1].position, (*triangles)[i + 2].position))
                return {true, static_cast<int32_t>(i)};
        }
    }
    return {};
}

SlotHit box_against_slot(const ObjectSlot& slot, int32_t frame, const Vec3f& centre, float width,
                         float height, float depth, const float matrix[16]) {
    const ObjectSpace space(matrix);
    OrientedBox box;
    box.centre = space.point(centre);
    const Vec3f ends[3] = {{width / 2, 0, 0}, {0, 0, depth / 2}, {0, height / 2, 0}};
    for (int i = 0; i < 3; ++i)
        box.half_axes[i] = sub(space.point(add(centre, ends[i])), box.centre);
    const float box_reach =
        std::sqrt(length_squared(add(add(box.half_axes[0], box.half_axes[1]), box.half_axes[2])));

    for (const MeshObjectX& mesh : slot.meshes) {
        const std::vector<MeshVertex>* triangles = testable_triangles(mesh, frame);
        if (!triangles) continue;
        const MeshFrame& bounds = mesh.frames[static_cast<size_t>(frame)];
        const float around = bounds.bound_radius + box_reach;
        if (around * around < length_squared(sub(box.centre, bounds.bound_centre))) continue;

        for (size_t i = 0; i + 2 < triangles->size(); i += 3) {
            if (box_overlaps_triangle(box, (*triangles)[i].position, (*triangles)[i + 1].position,
                                      (*triangles)[i + 2].position))
                return {true, static_cast<int32_t>(i)};
        }
    }
    return {};
}

bool sphere_touches_level_box(const float matrix[16], const Vec3f& centre, float radius,
                              float width, float height, float depth) {
    if (!(radius >= 0)) return false;
    const Vec3f c = ObjectSpace(matrix).point(centre);
    const float q[3] = {c.x, c.y, c.z};
    const float half[3] = {std::fabs(width) / 2, std::fabs(height) / 2, std::fabs(depth) / 2};
    float outside = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (q[axis] < -half[axis]) {
            outside += (q[axis] + half[axis]) * (q[axis] + half[axis]);
        } else if (q[axis] > half[axis]) {
            outside += (q[axis] - half[axis]) * (q[axis] - half[axis]);
        }
    }
    return outside <= radius * radius;
}

RayHit ray_against_slot(const ObjectSlot& slot, int32_t frame, const Vec3f& start,
                        const Vec3f& direction, const float matrix[16]) {
    const ObjectSpace space(matrix);
    const Vec3f s = space.point(start);
    const Vec3f e = space.point(add(start, normalised(direction)));

    RayChoice over_slot;
    for (const MeshObjectX& mesh : slot.meshes) {
        const std::vector<MeshVertex>* triangles = testable_triangles(mesh, frame);
        if (!triangles) continue;
        RayChoice in_mesh;
        for (size_t i = 0; i + 2 < triangles->size(); i += 3) {
            in_mesh.offer(
                ray_meets_triangle(s, e, (*triangles)[i].position, (*triangles)[i + 1].position,
                                   (*triangles)[i + 2].position),
                static_cast<int32_t>(i));
        }
        const RayHit answer = in_mesh.chosen();
        over_slot.offer(answer.distance, answer.record);
    }
    return over_slot.chosen();
}

}  // namespace vexel::engine3d
