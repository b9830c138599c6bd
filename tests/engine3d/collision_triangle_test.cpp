#include "engine3d/collision_triangle.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexel::engine3d {
namespace {

// The right triangle of legs 4 in the plane z = 0; its long edge is the line x + y = 4.
const Vec3f kA{0, 0, 0};
const Vec3f kB{4, 0, 0};
const Vec3f kC{0, 4, 0};

bool touches(Vec3f q, float r) {
    return sphere_touches_triangle(q, r, kA, kB, kC);
}

TEST(AngleSumTest, InsideOutsideOnEdgeAndOnVertex) {
    const Vec3f corners[3] = {kA, kB, kC};
    EXPECT_TRUE(inside_by_angle_sum({1, 1, 0}, corners, 3));
    EXPECT_FALSE(inside_by_angle_sum({5, 5, 0}, corners, 3));
    EXPECT_FALSE(inside_by_angle_sum({-0.1f, 1, 0}, corners, 3));
    // On an edge the angles still make a full turn.
    EXPECT_TRUE(inside_by_angle_sum({2, 0, 0}, corners, 3));
    // On a vertex two of the three pairs add nothing, so the point is not inside.
    EXPECT_FALSE(inside_by_angle_sum(kB, corners, 3));
}

TEST(AngleSumTest, WorksForAnyPolygon) {
    const Vec3f square[4] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
    EXPECT_TRUE(inside_by_angle_sum({1.9f, 1.9f, 0}, square, 4));
    EXPECT_FALSE(inside_by_angle_sum({2.1f, 1, 0}, square, 4));
}

TEST(SphereTriangleTest, FaceHitAndMissByPlaneDistance) {
    EXPECT_TRUE(touches({1, 1, 0.5f}, 0.6f));
    EXPECT_TRUE(touches({1, 1, -0.5f}, 0.6f));  // either side of the plane
    EXPECT_FALSE(touches({1, 1, 0.7f}, 0.6f));
    // Exactly at the radius the plane test lets the sphere through.
    EXPECT_TRUE(touches({1, 1, 0.5f}, 0.5f));
}

TEST(SphereTriangleTest, EdgeHitAndMissInThePlane) {
    // (2.4, 2.4) lies 0.8 / sqrt(2) = 0.566 from the long edge, outside the triangle.
    EXPECT_TRUE(touches({2.4f, 2.4f, 0}, 0.6f));
    EXPECT_FALSE(touches({2.4f, 2.4f, 0}, 0.55f));
}

TEST(SphereTriangleTest, EdgeHitAndMissAboveThePlane) {
    // Closest point (0, 2, 0) on the edge x = 0, at distance sqrt(0.09 + 0.16) = 0.5.
    EXPECT_TRUE(touches({-0.3f, 2, 0.4f}, 0.51f));
    EXPECT_FALSE(touches({-0.3f, 2, 0.4f}, 0.49f));
}

TEST(SphereTriangleTest, EdgeDistanceMustBeBelowTheRadius) {
    // (2, -0.5, 0) is 0.5 from the edge A-B: an edge exactly at the radius is out of reach.
    EXPECT_FALSE(touches({2, -0.5f, 0}, 0.5f));
    EXPECT_TRUE(touches({2, -0.5f, 0}, 0.5001f));
}

TEST(SphereTriangleTest, VertexIsReachedThroughTheClampedEdges) {
    // 0.5 from the corner A, beyond both edges that meet there.
    EXPECT_TRUE(touches({-0.3f, -0.4f, 0}, 0.51f));
    EXPECT_FALSE(touches({-0.3f, -0.4f, 0}, 0.49f));
}

TEST(SphereTriangleTest, FootJustOutsideAnEdgeStillCountsAsInside) {
    // The foot (2, -0.02, 0) is 0.02 outside the edge A-B, within the slack of the angle sum, so
    // the plane distance alone decides; the edge itself is 0.3007 away, out of reach.
    EXPECT_TRUE(touches({2, -0.02f, 0.3f}, 0.3f));
    EXPECT_FALSE(touches({2, -0.2f, 0.3f}, 0.3f));
}

TEST(SphereTriangleTest, CollinearTriangleIsTouchedOnlyAlongItsSegment) {
    const Vec3f a{0, 0, 0};
    const Vec3f b{1, 0, 0};
    const Vec3f c{2, 0, 0};
    EXPECT_TRUE(sphere_touches_triangle({1.5f, 0.3f, 0}, 0.31f, a, b, c));
    EXPECT_FALSE(sphere_touches_triangle({1.5f, 0.3f, 0}, 0.29f, a, b, c));
    EXPECT_FALSE(sphere_touches_triangle({2.5f, 0, 0}, 0.49f, a, b, c));
}

TEST(SphereTriangleTest, TriangleShrunkToAPointHasNoEdgeAndIsNeverTouched) {
    const Vec3f p{1, 1, 1};
    EXPECT_FALSE(sphere_touches_triangle({1, 1, 1.2f}, 1, p, p, p));
    EXPECT_FALSE(sphere_touches_triangle(p, 1, p, p, p));
}

TEST(SphereTriangleTest, NotANumberTouchesNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(touches({nan, 1, 0}, 1));
    EXPECT_FALSE(touches({1, 1, 0}, nan));
}

// The cube of side 2 centred at the origin.
OrientedBox unit_box() {
    return OrientedBox{{0, 0, 0}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
}

bool overlaps(const Vec3f& a, const Vec3f& b, const Vec3f& c, const Vec3f& shift = {0, 0, 0}) {
    const auto moved = [&](const Vec3f& p) {
        return Vec3f{p.x + shift.x, p.y + shift.y, p.z + shift.z};
    };
    return box_overlaps_triangle(unit_box(), moved(a), moved(b), moved(c));
}

TEST(BoxTriangleTest, SeparatedOnlyByABoxAxis) {
    // Neither the triangle normal nor any edge cross product separates these: only the Y axis.
    const Vec3f a{-0.5f, 4, -2.5f};
    const Vec3f b{0.5f, 1.5f, -0.5f};
    const Vec3f c{0.5f, 3, -0.5f};
    EXPECT_FALSE(overlaps(a, b, c));
    // Moved down until the corner b rests on the box's top face: touching is overlapping.
    EXPECT_TRUE(overlaps(a, b, c, {0, -0.5f, 0}));
}

TEST(BoxTriangleTest, SeparatedOnlyByAnEdgeCrossProduct) {
    // Every box axis and the triangle normal see overlapping intervals here.
    const Vec3f a{2.5f, -0.5f, -3.5f};
    const Vec3f b{3, 4, 0.5f};
    const Vec3f c{1, -0.5f, -3};
    EXPECT_FALSE(overlaps(a, b, c));
    EXPECT_TRUE(overlaps(a, b, c, {-1, 0, 1}));
}

TEST(BoxTriangleTest, SeparatedOnlyByTheTriangleNormal) {
    // The plane x + y + z = 3.2 passes just beyond the corner (1, 1, 1), where x + y + z = 3.
    const Vec3f a{10, -3.4f, -3.4f};
    const Vec3f b{-3.4f, 10, -3.4f};
    const Vec3f c{-3.4f, -3.4f, 10};
    EXPECT_FALSE(overlaps(a, b, c));
    EXPECT_TRUE(overlaps(a, b, c, {-0.4f, 0, 0}));
}

TEST(BoxTriangleTest, TriangleInsideTheBoxOrThroughIt) {
    EXPECT_TRUE(overlaps({-0.1f, -0.1f, 0}, {0.1f, -0.1f, 0}, {0, 0.1f, 0}));
    EXPECT_TRUE(overlaps({-9, -9, 0}, {9, -9, 0}, {0, 9, 0}));
}

TEST(BoxTriangleTest, RotatedHalfAxesCount) {
    // The cube turned 45 degrees about Z reaches sqrt(2) along X.
    const float h = 0.70710678f;
    const OrientedBox turned{{0, 0, 0}, {{h, h, 0}, {-h, h, 0}, {0, 0, 1}}};
    const Vec3f a{1.3f, -5, -5};
    const Vec3f b{1.3f, 5, -5};
    const Vec3f c{1.3f, 0, 5};
    EXPECT_TRUE(box_overlaps_triangle(turned, a, b, c));
    EXPECT_FALSE(box_overlaps_triangle(unit_box(), a, b, c));
}

TEST(BoxTriangleTest, DegenerateTriangleIsTestedAsItsSegment) {
    EXPECT_TRUE(overlaps({-3, 0.5f, 0}, {3, 0.5f, 0}, {0, 0.5f, 0}));
    EXPECT_FALSE(overlaps({-3, 1.5f, 0}, {3, 1.5f, 0}, {0, 1.5f, 0}));
}

// The triangle around the Z axis in the plane z = -5.
const Vec3f kFarA{-1, -1, -5};
const Vec3f kFarB{1, -1, -5};
const Vec3f kFarC{0, 1, -5};

TEST(RayTriangleTest, DistanceInFrontAndBehind) {
    EXPECT_FLOAT_EQ(ray_meets_triangle({0, 0, 0}, {0, 0, -1}, kFarA, kFarB, kFarC), 5);
    EXPECT_FLOAT_EQ(ray_meets_triangle({0, 0, 0}, {0, 0, 1}, kFarA, kFarB, kFarC), -5);
    // t counts in steps of e - s.
    EXPECT_FLOAT_EQ(ray_meets_triangle({0, 0, 0}, {0, 0, -2}, kFarA, kFarB, kFarC), 2.5f);
}

TEST(RayTriangleTest, StartOnTheTriangleGivesZero) {
    EXPECT_EQ(ray_meets_triangle({0, 0, -5}, {0, 0, -6}, kFarA, kFarB, kFarC), 0);
}

TEST(RayTriangleTest, MissesParallelAndDegenerate) {
    EXPECT_EQ(ray_meets_triangle({3, 0, 0}, {3, 0, -1}, kFarA, kFarB, kFarC), 0);
    EXPECT_EQ(ray_meets_triangle({0, 0.9f, 0}, {0.5f, 0.9f, -1}, kFarA, kFarB, kFarC), 0);
    EXPECT_EQ(ray_meets_triangle({0, 0, 0}, {1, 0, 0}, kFarA, kFarB, kFarC), 0);
    EXPECT_EQ(ray_meets_triangle({0, 0, 0}, {0, 0, -1}, kFarA, kFarA, kFarC), 0);
    EXPECT_EQ(ray_meets_triangle({0, 0, 0}, {0, 0, -1}, {-1, 0, -5}, {0, 0, -5}, {1, 0, -5}), 0);
}

TEST(RayTriangleTest, EdgesAndCornersOfTheTriangleCount) {
    EXPECT_FLOAT_EQ(ray_meets_triangle({0, -1, 0}, {0, -1, -1}, kFarA, kFarB, kFarC), 5);
    EXPECT_FLOAT_EQ(ray_meets_triangle({-1, -1, 0}, {-1, -1, -1}, kFarA, kFarB, kFarC), 5);
    EXPECT_EQ(ray_meets_triangle({0, -1.01f, 0}, {0, -1.01f, -1}, kFarA, kFarB, kFarC), 0);
}

}  // namespace
}  // namespace vexel::engine3d
