#include <gtest/gtest.h>

#include <cmath>

#include "mesh/mesh_object.h"
#include "mesh/mesh_test_support.h"

namespace vexel {
namespace {

using testing::MeshBuilder;

void expect_vec(const Vec3f& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, 1e-6f);
    EXPECT_NEAR(actual.y, y, 1e-6f);
    EXPECT_NEAR(actual.z, z, 1e-6f);
}

TEST(NormalGenerationTest, FaceNormalIsTheCrossProductOfTheSecondAndFirstEdge) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    const MeshObjectX mesh = builder.finish(1);
    // (p2 - p0) x (p1 - p0) = (0, 1, 0) x (1, 0, 0) = (0, 0, -1).
    for (const MeshVertex& record : mesh.frames[0].triangles)
        expect_vec(record.normal, 0, 0, -1);
    EXPECT_EQ(mesh.normals_valid, 1);
    expect_vec(mesh.frames[0].build_stream[0].normal, 0, 0, 0);  // the marker keeps none
}

TEST(NormalGenerationTest, EveryTriangleOfAFlatStripFacesTheSameWay) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0).add(1, 1, 0).add(0, 2, 0).add(1, 2, 0);
    const MeshObjectX mesh = builder.finish(1);
    ASSERT_EQ(mesh.frames[0].triangles.size(), 12u);
    for (const MeshVertex& record : mesh.frames[0].triangles)
        expect_vec(record.normal, 0, 0, -1);
}

// Two triangles that meet at the origin, each with its own record there (stream positions 2 and
// 5, after the strip marker and the triangles marker); the second one is four times as large and
// faces +x.
MeshBuilder two_faces_at_the_origin() {
    MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    builder.add(0, 0, 0).add(0, 0, 2).add(0, 2, 0);
    return builder;
}

TEST(NormalGenerationTest, ModeOneKeepsEveryRecordToItsOwnFaces) {
    const MeshObjectX mesh = two_faces_at_the_origin().finish(1);
    const auto& stream = mesh.frames[0].build_stream;
    expect_vec(stream[2].normal, 0, 0, -1);
    expect_vec(stream[5].normal, 1, 0, 0);
}

TEST(NormalGenerationTest, ModeTwoSharesTheAreaWeightedSumBetweenCoincidentRecords) {
    const MeshObjectX mesh = two_faces_at_the_origin().finish(2);
    const auto& stream = mesh.frames[0].build_stream;
    // (0, 0, -1) + (4, 0, 0), normalised.
    const float length = std::sqrt(17.0f);
    expect_vec(stream[2].normal, 4 / length, 0, -1 / length);
    expect_vec(stream[5].normal, 4 / length, 0, -1 / length);
    expect_vec(stream[3].normal, 0, 0, -1);  // (1, 0, 0) is used by one face only
}

TEST(NormalGenerationTest, ModeTwoKeysPositionsByTheirLow32BitCode) {
    MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    // (1, 0, 0) and (0, 1/256, 0) both have the code 256; (0, 0, 256) wraps to the origin's 0.
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    builder.add(0, 0, 256).add(0, 1.0f / 256, 0).add(5, 0, 256);
    const MeshObjectX mesh = builder.finish(2);
    const auto& stream = mesh.frames[0].build_stream;
    const Vec3f& a = stream[3].normal;
    const Vec3f& b = stream[6].normal;
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_NE(a.y, 0.0f);  // the second face's share reached the first record
    EXPECT_EQ(stream[2].normal.y, stream[5].normal.y);
    EXPECT_NE(stream[4].normal.z, stream[7].normal.z);
}

TEST(NormalGenerationTest, WhiteVerticesOfValueMinusFourTakePartLikeAnyOther) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0, 0, 0, kWhiteVertex).add(0, 1, 0).add(1, 1, 0);
    const MeshObjectX mesh = builder.finish(1);
    const auto& stream = mesh.frames[0].build_stream;
    for (size_t i = 1; i < stream.size(); ++i)
        expect_vec(stream[i].normal, 0, 0, -1);
    EXPECT_EQ(mesh.frames[0].triangles.size(), 6u);
}

TEST(NormalGenerationTest, NothingHappensWhenNormalsAreValid) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    MeshObjectX mesh = builder.raw();
    mesh.normals_valid = 1;
    generate_normals(mesh, 1, false);
    expect_vec(mesh.frames[0].build_stream[1].normal, 0, 0, 0);
}

TEST(NormalGenerationTest, TangentsFollowTheTextureDirectionsAndLeaveValidNormalsAlone) {
    MeshBuilder builder;
    // u grows along x (1 per 2 units), the stored v along y (1 per 3 units).
    builder.add(0, 0, 0, 0, 0).add(2, 0, 0, 1, 0).add(0, 3, 0, 0, -1);
    MeshObjectX mesh = builder.raw();
    mesh.normals_valid = 1;
    generate_normals(mesh, 1, true);
    for (size_t i = 1; i < 4; ++i) {
        const MeshVertex& record = mesh.frames[0].build_stream[i];
        expect_vec(record.tangent, 1, 0, 0);
        expect_vec(record.bitangent, 0, 1, 0);
        expect_vec(record.normal, 0, 0, 0);
    }
    EXPECT_EQ(mesh.tangents_valid, 1);
}

TEST(NormalGenerationTest, DegenerateTextureMappingGivesNoTangent) {
    MeshBuilder builder;
    builder.add(0, 0, 0, 0.5f, 0.5f).add(2, 0, 0, 0.5f, 0.5f).add(0, 3, 0, 0.5f, 0.5f);
    MeshObjectX mesh = builder.raw();
    generate_normals(mesh, 2, true);
    expect_vec(mesh.frames[0].build_stream[2].tangent, 0, 0, 0);
    expect_vec(mesh.frames[0].build_stream[2].normal, 0, 0, -1);
    EXPECT_EQ(mesh.normals_valid, 1);
    EXPECT_EQ(mesh.tangents_valid, 1);
}

TEST(NormalGenerationTest, EveryFrameGetsItsOwnNormals) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    builder.frame(1).add(0, 0, 0).add(0, 1, 0).add(1, 0, 0);
    const MeshObjectX mesh = builder.finish(1);
    expect_vec(mesh.frames[0].triangles[0].normal, 0, 0, -1);
    expect_vec(mesh.frames[1].triangles[0].normal, 0, 0, 1);
}

}  // namespace
}  // namespace vexel
