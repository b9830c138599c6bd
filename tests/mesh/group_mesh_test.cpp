#include <gtest/gtest.h>

#include <cmath>

#include "mesh/group_mesh.h"

namespace vexel {
namespace {

GroupVertex at(float x, float y, float z, float u = 0, float v = 0, int32_t colour = 0xFFFFFF) {
    GroupVertex vertex;
    vertex.position = Vec3f{x, y, z};
    vertex.normal = Vec3f{0, 0, 1};
    vertex.u = u;
    vertex.v = v;
    vertex.colour = colour;
    return vertex;
}

// As with a script's object_end: empty groups after the last vertex keep their markers (they
// draw nothing).
TEST(GroupMeshTest, EmptyGroupsAtTheEndAreKept) {
    const MeshObjectX mesh =
        build_group_mesh({{kMarkerStrip, {at(0, 0, 0), at(1, 0, 0), at(0, 1, 0)}},
                          {kMarkerStrip, {}},
                          {kMarkerFan, {}}},
                         0);
    const std::vector<MeshVertex>& stream = mesh.frames[0].build_stream;
    ASSERT_EQ(stream.size(), 6u);
    EXPECT_EQ(stream[4].colour, kMarkerStrip);
    EXPECT_EQ(stream[5].colour, kMarkerFan);
    EXPECT_EQ(mesh.palette, (std::vector<int32_t>{kMarkerStrip, 0xFFFFFF, kMarkerFan}));
    EXPECT_EQ(mesh.frames[0].triangles.size(), 3u);
}

TEST(GroupMeshTest, EachGroupIsItsMarkerAndItsVerticesWithVStoredNegated) {
    const MeshObjectX mesh = build_group_mesh(
        {{kMarkerStrip,
          {at(0, 0, 0, 0.25f, 0.5f, 0x0000FF), at(1, 0, 0), at(0, 1, 0), at(1, 1, 0)}},
         {kMarkerFan, {at(0, 0, 2), at(1, 0, 2), at(1, 1, 2), at(0, 1, 2), at(-1, 0, 2)}}},
        0);
    ASSERT_EQ(mesh.frames.size(), 1u);
    const std::vector<MeshVertex>& stream = mesh.frames[0].build_stream;
    ASSERT_EQ(stream.size(), 11u);
    EXPECT_EQ(stream[0].colour, kMarkerStrip);
    EXPECT_EQ(stream[5].colour, kMarkerFan);
    EXPECT_FLOAT_EQ(stream[1].u, 0.25f);
    EXPECT_FLOAT_EQ(stream[1].v, -0.5f);
    EXPECT_EQ(stream[1].colour, 0x0000FF);
    EXPECT_FLOAT_EQ(stream[1].red, 1);
    EXPECT_FLOAT_EQ(stream[1].blue, 0);
    EXPECT_FLOAT_EQ(stream[10].position.x, -1);

    // Palette in first-seen order: the strip marker, red, white, the fan marker.
    ASSERT_EQ(mesh.palette.size(), 4u);
    EXPECT_EQ(mesh.palette[1], 0x0000FF);
    EXPECT_EQ(stream[5].palette_index, 3);
    EXPECT_EQ(mesh.has_vertex_colours, 1);

    // Two strip triangles and three fan triangles; the given normals are kept.
    EXPECT_EQ(mesh.frames[0].triangles.size(), 15u);
    EXPECT_EQ(mesh.normals_valid, 1);
    for (const MeshVertex& record : mesh.frames[0].triangles)
        EXPECT_FLOAT_EQ(record.normal.z, 1);
    EXPECT_EQ(mesh.blend.size(), 15u);
    EXPECT_GT(mesh.frames[0].bound_radius, 0);
}

TEST(GroupMeshTest, NormalModeTwoMakesNormalsFromTheTriangles) {
    GroupVertex a = at(0, 0, 0);
    GroupVertex b = at(1, 0, 0);
    GroupVertex c = at(0, 1, 0);
    for (GroupVertex* v : {&a, &b, &c})
        v->normal = Vec3f{5, 5, 5};
    const MeshObjectX mesh = build_group_mesh({{kMarkerTriangles, {a, b, c}}}, 2);
    ASSERT_EQ(mesh.frames[0].triangles.size(), 3u);
    for (const MeshVertex& record : mesh.frames[0].triangles) {
        EXPECT_NEAR(record.normal.x, 0, 1e-6);
        EXPECT_NEAR(record.normal.y, 0, 1e-6);
        EXPECT_NEAR(std::fabs(record.normal.z), 1, 1e-6);
    }
}

TEST(GroupMeshTest, NoGroupsGiveOneEmptyFrame) {
    const MeshObjectX mesh = build_group_mesh({}, 2);
    ASSERT_EQ(mesh.frames.size(), 1u);
    EXPECT_TRUE(mesh.frames[0].build_stream.empty());
    EXPECT_TRUE(mesh.frames[0].triangles.empty());
    EXPECT_FLOAT_EQ(mesh.frames[0].bound_radius, 0);
}

TEST(GroupMeshTest, AVertexColouredLikeAMarkerSwitchesTheMode) {
    // As with the object commands: the -1 vertex ends the strip and starts independent
    // triangles, so the strip's first two vertices never form a triangle.
    const MeshObjectX mesh =
        build_group_mesh({{kMarkerStrip,
                           {at(0, 0, 0), at(1, 0, 0), at(0, 0, 0, 0, 0, kMarkerTriangles),
                            at(0, 1, 0), at(1, 1, 0), at(2, 2, 0)}}},
                         0);
    EXPECT_EQ(mesh.frames[0].triangles.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.frames[0].triangles[0].position.y, 1);
}

}  // namespace
}  // namespace vexel
