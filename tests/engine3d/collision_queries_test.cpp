#include "engine3d/collision_queries.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine3d/collision_test_support.h"

namespace vexel::engine3d {
namespace {

using testing::Matrix;
using testing::multiply;
using testing::rotation_y90;
using testing::rotation_z;
using testing::scaling;
using testing::slot_with;
using testing::translation;
using testing::triangle_mesh;

const Matrix kIdentity = testing::identity_matrix();

// Two right triangles in the plane z = 0: records 0-2 at the origin, records 3-5 at x = 10. The
// first record, the one the quick acceptance looks at, is the origin.
ObjectSlot two_triangles() {
    return slot_with(triangle_mesh(
        {{{{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}}, {{{10, 0, 0}, {14, 0, 0}, {10, 4, 0}}}}));
}

SlotHit sphere(const ObjectSlot& slot, float r, Vec3f c, const Matrix& m = kIdentity,
               int32_t frame = 0) {
    return sphere_against_slot(slot, frame, r, c, m.data());
}

TEST(SphereQueryTest, QuickAcceptanceHitsWithoutATriangle) {
    const ObjectSlot slot = two_triangles();
    const SlotHit hit = sphere(slot, 0.5f, {0.1f, 0.2f, 0.3f});
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.record, -1);
    // Exactly reaching the first vertex is enough.
    EXPECT_TRUE(sphere(slot, 0.5f, {0, 0, 0.5f}).hit);
}

TEST(SphereQueryTest, FaceHitGivesTheTrianglesFirstRecord) {
    const ObjectSlot slot = two_triangles();
    const SlotHit first = sphere(slot, 0.5f, {1, 1, 0.4f});
    EXPECT_TRUE(first.hit);
    EXPECT_EQ(first.record, 0);
    const SlotHit second = sphere(slot, 0.5f, {11, 1, -0.4f});
    EXPECT_TRUE(second.hit);
    EXPECT_EQ(second.record, 3);
}

TEST(SphereQueryTest, EdgeHitAndMissBetweenTheTriangles) {
    const ObjectSlot slot = two_triangles();
    // 0.5 beyond the second triangle's left edge x = 10.
    const SlotHit edge = sphere(slot, 0.6f, {9.5f, 2, 0});
    EXPECT_TRUE(edge.hit);
    EXPECT_EQ(edge.record, 3);
    const SlotHit gap = sphere(slot, 0.5f, {7, 1, 0.3f});
    EXPECT_FALSE(gap.hit);
    EXPECT_EQ(gap.record, -1);
}

TEST(SphereQueryTest, FirstTouchedTriangleInOrderWins) {
    // Both triangles lie under the sphere; the earlier one is reported.
    const ObjectSlot slot =
        slot_with(triangle_mesh({{{{-9, -9, -9}, {-8, -9, -9}, {-9, -8, -9}}},
                                 {{{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}},
                                 {{{0, 0, 0.2f}, {4, 0, 0.2f}, {0, 4, 0.2f}}}}));
    const SlotHit hit = sphere(slot, 0.5f, {1, 1, 0.1f});
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.record, 3);
}

TEST(SphereQueryTest, BoundingSphereRejectsBeforeAnyTriangle) {
    ObjectSlot slot = two_triangles();
    ASSERT_TRUE(sphere(slot, 0.5f, {1, 1, 0.4f}).hit);
    // A bounding sphere far away rejects the mesh even though its triangle is in reach.
    slot.meshes[0].frames[0].bound_centre = Vec3f{100, 0, 0};
    slot.meshes[0].frames[0].bound_radius = 1;
    EXPECT_FALSE(sphere(slot, 0.5f, {1, 1, 0.4f}).hit);
    EXPECT_FALSE(sphere(slot, 0.5f, {0, 0, 0}).hit);  // no quick acceptance either
}

TEST(SphereQueryTest, NegativeRadiusTouchesNothing) {
    const ObjectSlot slot = two_triangles();
    EXPECT_FALSE(sphere(slot, -0.5f, {0, 0, 0}).hit);
    EXPECT_FALSE(sphere(slot, -0.5f, {1, 1, 0}).hit);
}

TEST(SphereQueryTest, LaterMeshesOfTheSlotAreSearched) {
    ObjectSlot slot = two_triangles();
    slot.meshes.insert(slot.meshes.begin(),
                       triangle_mesh({{{{50, 50, 50}, {51, 50, 50}, {50, 51, 50}}}}));
    const SlotHit hit = sphere(slot, 0.5f, {11, 1, 0.4f});
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.record, 3);
}

TEST(SphereQueryTest, EmptySlotsMissingFramesAndShortFramesGiveNoHit) {
    EXPECT_FALSE(sphere(ObjectSlot{}, 100, {0, 0, 0}).hit);

    ObjectSlot no_frames;
    no_frames.meshes.emplace_back();
    EXPECT_FALSE(sphere(no_frames, 100, {0, 0, 0}).hit);

    const ObjectSlot slot = two_triangles();
    EXPECT_FALSE(sphere(slot, 100, {0, 0, 0}, kIdentity, 1).hit);
    EXPECT_FALSE(sphere(slot, 100, {0, 0, 0}, kIdentity, -1).hit);

    // Two vertices make no triangle: the frame's list is empty.
    testing::MeshBuilder short_frame;
    short_frame.add(0, 0, 0).add(1, 0, 0);
    const ObjectSlot short_slot = slot_with(short_frame.finish());
    ASSERT_TRUE(short_slot.meshes[0].frames[0].triangles.empty());
    EXPECT_FALSE(sphere(short_slot, 100, {0, 0, 0}).hit);
}

TEST(SphereQueryTest, DegenerateTrianglesArePassedOver) {
    // A point and a segment first, far from the first vertex; the real triangle is the third.
    const ObjectSlot slot = slot_with(triangle_mesh({{{{-9, 0, 0}, {-9, 0, 0}, {-9, 0, 0}}},
                                                     {{{1, 1, 0.1f}, {2, 2, 0.1f}, {3, 3, 0.1f}}},
                                                     {{{0, 0, 0}, {4, 0, 0}, {0, 4, 0}}}}));
    const SlotHit sphere_hit = sphere(slot, 0.2f, {1, 1.5f, 0});
    EXPECT_TRUE(sphere_hit.hit);
    EXPECT_EQ(sphere_hit.record, 6);
    const RayHit ray_hit = ray_against_slot(slot, 0, {1, 1.5f, 3}, {0, 0, -1}, kIdentity.data());
    EXPECT_FLOAT_EQ(ray_hit.distance, 3);
    EXPECT_EQ(ray_hit.record, 6);
    // The box around the segment's middle touches the segment first.
    const SlotHit box_hit =
        box_against_slot(slot, 0, {2, 2, 0.1f}, 0.2f, 0.2f, 0.2f, kIdentity.data());
    EXPECT_TRUE(box_hit.hit);
    EXPECT_EQ(box_hit.record, 3);
}

TEST(SphereQueryTest, OtherFramesAreTestedWithTheirOwnGeometry) {
    testing::MeshBuilder builder;
    builder.marker(kMarkerTriangles).add(0, 0, 0).add(4, 0, 0).add(0, 4, 0);
    builder.frame(1).marker(kMarkerTriangles).add(0, 0, 20).add(4, 0, 20).add(0, 4, 20);
    const ObjectSlot slot = slot_with(builder.finish());
    EXPECT_TRUE(sphere(slot, 0.5f, {1, 1, 20.4f}, kIdentity, 1).hit);
    EXPECT_FALSE(sphere(slot, 0.5f, {1, 1, 20.4f}, kIdentity, 0).hit);
}

TEST(SphereQueryTest, TurnedAndMovedLevelIsUndone) {
    const ObjectSlot slot = two_triangles();
    // Turned 90 degrees about Z and moved: object (1, 1, 0.4) is drawn at world (19, 1, 0.4).
    const Matrix m = multiply(translation(20, 0, 0), rotation_z(90));
    const SlotHit hit = sphere(slot, 0.5f, {19, 1, 0.4f}, m);
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.record, 0);
    EXPECT_FALSE(sphere(slot, 0.5f, {1, 1, 0.4f}, m).hit);
}

TEST(SphereQueryTest, ScaleIsNotUndone) {
    const ObjectSlot slot = two_triangles();
    // Drawn twice as large, the second triangle would be at x = 20 ... 28; the query still
    // meets the stored coordinates.
    const Matrix m = scaling(2, 2, 2);
    EXPECT_TRUE(sphere(slot, 0.5f, {11, 1, 0.4f}, m).hit);
    EXPECT_FALSE(sphere(slot, 0.5f, {22, 2, 0.4f}, m).hit);
    EXPECT_FALSE(sphere(slot, 0.5f, {5.5f, 0.5f, 0.4f}, m).hit);
}

// A large triangle in the plane x = 1.2.
ObjectSlot wall() {
    return slot_with(triangle_mesh({{{{1.2f, -5, -5}, {1.2f, 5, -5}, {1.2f, 0, 5}}}}));
}

SlotHit box(const ObjectSlot& slot, Vec3f centre, Vec3f size, const Matrix& m = kIdentity) {
    return box_against_slot(slot, 0, centre, size.x, size.y, size.z, m.data());
}

TEST(BoxQueryTest, HitGivesTheRecordMissGivesNone) {
    const ObjectSlot slot = wall();
    const SlotHit hit = box(slot, {0.5f, 0, 0}, {2, 2, 2});
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.record, 0);
    const SlotHit miss = box(slot, {0, 0, 0}, {2, 2, 2});
    EXPECT_FALSE(miss.hit);
    EXPECT_EQ(miss.record, -1);
    // Only the width reaches along X.
    EXPECT_TRUE(box(slot, {0, 0, 0}, {2.6f, 0.1f, 0.1f}).hit);
    EXPECT_FALSE(box(slot, {0, 0, 0}, {2.2f, 9, 9}).hit);
}

TEST(BoxQueryTest, TurnedAndMovedLevelIsUndone) {
    const ObjectSlot slot = wall();
    // Turned 45 degrees the cube reaches sqrt(2) along the object's X axis.
    EXPECT_TRUE(box(slot, {0, 0, 0}, {2, 2, 2}, rotation_z(45)).hit);
    const Matrix m = multiply(translation(3, 0, 0), rotation_z(45));
    EXPECT_TRUE(box(slot, {3, 0, 0}, {2, 2, 2}, m).hit);
    EXPECT_FALSE(box(slot, {0, 0, 0}, {2, 2, 2}, m).hit);
}

TEST(BoxQueryTest, ScaleIsNotUndone) {
    const ObjectSlot slot = wall();
    const Matrix m = scaling(2, 2, 2);
    // The box x = 1.1 ... 2.1 holds the stored plane x = 1.2 (drawn at 2.4).
    EXPECT_TRUE(box(slot, {1.6f, 0, 0}, {1, 1, 1}, m).hit);
    EXPECT_FALSE(box(slot, {2.4f, 0, 0}, {1, 1, 1}, m).hit);
    EXPECT_FALSE(box(slot, {0, 0, 0}, {2, 2, 2}, m).hit);
}

TEST(BoxQueryTest, BoundingSphereRejectsAndEmptySlotsMiss) {
    ObjectSlot slot = wall();
    slot.meshes[0].frames[0].bound_centre = Vec3f{100, 0, 0};
    slot.meshes[0].frames[0].bound_radius = 1;
    EXPECT_FALSE(box(slot, {0.5f, 0, 0}, {2, 2, 2}).hit);
    EXPECT_FALSE(box(ObjectSlot{}, {0, 0, 0}, {100, 100, 100}).hit);
    EXPECT_FALSE(box_against_slot(wall(), 3, {1, 0, 0}, 2, 2, 2, kIdentity.data()).hit);
}

bool level_box(Vec3f c, float r, const Matrix& m = kIdentity) {
    // Half sizes 1, 2, 3.
    return sphere_touches_level_box(m.data(), c, r, 2, 4, 6);
}

TEST(SphereLevelBoxTest, Faces) {
    EXPECT_TRUE(level_box({1.5f, 0, 0}, 0.5f));
    EXPECT_FALSE(level_box({1.5f, 0, 0}, 0.49f));
    EXPECT_TRUE(level_box({0, -2.5f, 0}, 0.5f));
    EXPECT_FALSE(level_box({0, -2.5f, 0}, 0.49f));
    EXPECT_TRUE(level_box({0, 0, 3.25f}, 0.25f));
    EXPECT_FALSE(level_box({0, 0, 3.25f}, 0.24f));
}

TEST(SphereLevelBoxTest, Edges) {
    // 0.375^2 + 0.5^2 = 0.625^2, exactly.
    EXPECT_TRUE(level_box({1.375f, 2.5f, 0}, 0.625f));
    EXPECT_FALSE(level_box({1.375f, 2.5f, 0}, 0.62f));
    EXPECT_TRUE(level_box({0, -2.375f, -3.5f}, 0.625f));
    EXPECT_FALSE(level_box({0, -2.375f, -3.5f}, 0.62f));
}

TEST(SphereLevelBoxTest, Corners) {
    // sqrt(0.75) = 0.866 from the corner (1, 2, 3).
    EXPECT_TRUE(level_box({1.5f, 2.5f, 3.5f}, 0.87f));
    EXPECT_FALSE(level_box({1.5f, 2.5f, 3.5f}, 0.86f));
    EXPECT_TRUE(level_box({-1.5f, -2.5f, -3.5f}, 0.87f));
    EXPECT_FALSE(level_box({-1.5f, -2.5f, -3.5f}, 0.86f));
}

TEST(SphereLevelBoxTest, InsideHitsWithAnyRadius) {
    EXPECT_TRUE(level_box({0.9f, 1.9f, -2.9f}, 0));
    EXPECT_FALSE(level_box({0, 0, 0}, -1));
}

TEST(SphereLevelBoxTest, ExtentsCountByTheirSize) {
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_TRUE(sphere_touches_level_box(m, {0.9f, 0, 0}, 0, -2, -4, -6));
    EXPECT_FALSE(sphere_touches_level_box(m, {1.1f, 0, 0}, 0, -2, -4, -6));
}

TEST(SphereLevelBoxTest, TurnedAndMovedLevel) {
    const Matrix m = multiply(translation(10, 0, 0), rotation_z(90));
    // World (10, 2.5, 0) is object (2.5, 0, 0): 1.5 beyond the face x = 1.
    EXPECT_TRUE(level_box({10, 2.5f, 0}, 1.5f, m));
    EXPECT_FALSE(level_box({10, 2.5f, 0}, 1.4f, m));
    EXPECT_FALSE(level_box({0, 0, 0}, 1, m));
}

TEST(SphereLevelBoxTest, ScaleIsNotUndone) {
    const Matrix m = scaling(2, 2, 2);
    EXPECT_TRUE(level_box({1.5f, 0, 0}, 0.5f, m));
    EXPECT_FALSE(level_box({1.5f, 0, 0}, 0.4f, m));
}

// Triangles around the Z axis in the planes z = -5 (records 0-2), z = -3 (3-5), z = 2 (6-8) and
// z = 7 (9-11).
MeshObjectX stacked(std::initializer_list<float> planes) {
    testing::MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    for (float z : planes)
        builder.add(-1, -1, z).add(1, -1, z).add(0, 1, z);
    return builder.finish();
}

RayHit ray(const ObjectSlot& slot, Vec3f start, Vec3f direction, const Matrix& m = kIdentity,
           int32_t frame = 0) {
    return ray_against_slot(slot, frame, start, direction, m.data());
}

TEST(RayQueryTest, NearestInFrontWins) {
    const ObjectSlot slot = slot_with(stacked({-5, -3, 2, 7}));
    const RayHit hit = ray(slot, {0, 0, 0}, {0, 0, -1});
    EXPECT_FLOAT_EQ(hit.distance, 3);
    EXPECT_EQ(hit.record, 3);
    const RayHit other_way = ray(slot, {0, 0, 0}, {0, 0, 1});
    EXPECT_FLOAT_EQ(other_way.distance, 2);
    EXPECT_EQ(other_way.record, 6);
}

TEST(RayQueryTest, DirectionIsNormalised) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    EXPECT_FLOAT_EQ(ray(slot, {0, 0, 0}, {0, 0, -40}).distance, 5);
    EXPECT_FLOAT_EQ(ray(slot, {0, 0, 1}, {0, 0, -0.5f}).distance, 6);
}

TEST(RayQueryTest, OnlyBehindGivesTheNegativeClosestToZero) {
    const ObjectSlot slot = slot_with(stacked({2, 7}));
    const RayHit hit = ray(slot, {0, 0, 0}, {0, 0, -1});
    EXPECT_FLOAT_EQ(hit.distance, -2);
    EXPECT_EQ(hit.record, 0);
}

TEST(RayQueryTest, HitAtTheStartCannotBeToldFromNoHit) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    const RayHit at_start = ray(slot, {0, 0, -5}, {0, 0, -1});
    EXPECT_EQ(at_start.distance, 0);
    EXPECT_EQ(at_start.record, -1);
    const RayHit none = ray(slot, {5, 0, 0}, {0, 0, -1});
    EXPECT_EQ(none.distance, 0);
    EXPECT_EQ(none.record, -1);
}

TEST(RayQueryTest, ZeroDirectionMeetsNothing) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    EXPECT_EQ(ray(slot, {0, 0, 0}, {0, 0, 0}).distance, 0);
}

TEST(RayQueryTest, OverTheMeshesTheSameChoiceAndItsTriangle) {
    ObjectSlot slot;
    slot.meshes.push_back(stacked({4}));       // behind only
    slot.meshes.push_back(stacked({-9, -6}));  // in front
    slot.meshes.push_back(stacked({20}));      // behind, farther
    const RayHit hit = ray(slot, {0, 0, 0}, {0, 0, -1});
    EXPECT_FLOAT_EQ(hit.distance, 6);
    EXPECT_EQ(hit.record, 3);

    ObjectSlot behind;
    behind.meshes.push_back(stacked({9}));
    behind.meshes.push_back(stacked({12, 3}));
    behind.meshes.emplace_back();  // no frames at all
    const RayHit back = ray(behind, {0, 0, 0}, {0, 0, -1});
    EXPECT_FLOAT_EQ(back.distance, -3);
    EXPECT_EQ(back.record, 3);
}

TEST(RayQueryTest, TurnedAndMovedLevelIsUndone) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    // Object plane z = -5 is drawn as the world plane x = -5 around (-5, 0, -10).
    const Matrix m = multiply(translation(0, 0, -10), rotation_y90());
    EXPECT_FLOAT_EQ(ray(slot, {0, 0, -10}, {-1, 0, 0}, m).distance, 5);
    EXPECT_EQ(ray(slot, {0, 0, -10}, {-1, 0, 0}).distance, 0);
    EXPECT_EQ(ray(slot, {0, 0, 0}, {0, 0, -1}, m).distance, 0);
}

TEST(RayQueryTest, ScaleIsNotUndone) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    // Drawn at z = -10, met at the stored -5.
    EXPECT_FLOAT_EQ(ray(slot, {0, 0, 0}, {0, 0, -1}, scaling(2, 2, 2)).distance, 5);
}

TEST(RayQueryTest, MissingFramesAndEmptySlotsGiveZero) {
    const ObjectSlot slot = slot_with(stacked({-5}));
    EXPECT_EQ(ray(slot, {0, 0, 0}, {0, 0, -1}, kIdentity, 1).distance, 0);
    EXPECT_EQ(ray(slot, {0, 0, 0}, {0, 0, -1}, kIdentity, -1).distance, 0);
    EXPECT_EQ(ray(ObjectSlot{}, {0, 0, 0}, {0, 0, -1}).distance, 0);
}

}  // namespace
}  // namespace vexel::engine3d
