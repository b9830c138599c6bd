#include "mesh/mesh_object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mesh/mesh_hooks.h"
#include "mesh/mesh_test_support.h"

namespace vexel {
namespace {

using testing::MeshBuilder;

// The x coordinates of the triangle list, three a triangle: each test vertex is told apart by x.
std::vector<float> corner_xs(const MeshFrame& frame) {
    std::vector<float> xs;
    for (const MeshVertex& record : frame.triangles)
        xs.push_back(record.position.x);
    return xs;
}

TEST(MeshVertexTest, ColourFloatsFollowTheColourValueAndMarkerValuesGiveWhite) {
    MeshVertex record;
    record.set_colour(0x3366FF);
    EXPECT_FLOAT_EQ(record.red, 1.0f);
    EXPECT_FLOAT_EQ(record.green, 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(record.blue, 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(record.alpha, 1.0f);
    for (int32_t value : {-1, -2, -3, -4}) {
        record.set_colour(value);
        EXPECT_EQ(record.colour, value);
        EXPECT_FLOAT_EQ(record.red + record.green + record.blue + record.alpha, 4.0f);
    }
    // -5 is no marker value: its bytes count.
    record.set_colour(-5);
    EXPECT_FLOAT_EQ(record.red, 0xFB / 255.0f);
    EXPECT_FLOAT_EQ(record.blue, 1.0f);
}

TEST(MeshVertexTest, MarkerIsZeroButForItsValueAndWhite) {
    const MeshVertex marker = make_marker(kMarkerFan);
    EXPECT_EQ(marker.colour, -3);
    EXPECT_EQ(marker.position.x, 0.0f);
    EXPECT_EQ(marker.u, 0.0f);
    EXPECT_EQ(marker.palette_index, 0);
    EXPECT_EQ(marker.alpha, 1.0f);
    EXPECT_TRUE(is_marker(-1) && is_marker(-2) && is_marker(-3));
    EXPECT_FALSE(is_marker(-4) || is_marker(0) || is_marker(-5));
}

TEST(PrepareTest, StripAlternatesWhichVertexIsReplacedToKeepOneWinding) {
    MeshBuilder builder;
    for (float x : {1, 2, 3, 4, 5})
        builder.add(x, 0, 0);
    const MeshObjectX mesh = builder.finish();
    EXPECT_EQ(corner_xs(mesh.frames[0]), (std::vector<float>{1, 2, 3, 3, 2, 4, 3, 4, 5}));
}

TEST(PrepareTest, IndependentTrianglesFansAndMarkersThatDropPendingVertices) {
    MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    for (float x : {1, 2, 3, 4, 5, 6, 7})  // the 7th waits for two more
        builder.add(x, 0, 0);
    builder.marker(kMarkerFan);
    for (float x : {10, 11, 12, 13})
        builder.add(x, 0, 0);
    builder.new_group();
    builder.add(20, 0, 0).add(21, 0, 0).add(22, 0, 0);
    const MeshObjectX mesh = builder.finish();
    EXPECT_EQ(corner_xs(mesh.frames[0]),
              (std::vector<float>{1, 2, 3, 4, 5, 6, 10, 11, 12, 10, 12, 13, 20, 21, 22}));
}

TEST(PrepareTest, StripParityStartsAgainAfterEveryMarker) {
    MeshBuilder builder;
    builder.add(1, 0, 0).add(2, 0, 0).add(3, 0, 0).add(4, 0, 0);
    builder.new_group();
    builder.add(5, 0, 0).add(6, 0, 0).add(7, 0, 0).add(8, 0, 0);
    const MeshObjectX mesh = builder.finish();
    EXPECT_EQ(corner_xs(mesh.frames[0]), (std::vector<float>{1, 2, 3, 3, 2, 4, 5, 6, 7, 7, 6, 8}));
}

TEST(PrepareTest, EveryFrameIsJoinedAndTheBlendBufferCopiesFrameZero) {
    MeshBuilder builder;
    builder.add(1, 0, 0).add(2, 0, 0).add(3, 0, 0);
    builder.frame(1).add(4, 0, 0).add(5, 0, 0).add(6, 0, 0);
    const MeshObjectX mesh = builder.finish();
    ASSERT_EQ(mesh.frames.size(), 2u);
    EXPECT_EQ(corner_xs(mesh.frames[1]), (std::vector<float>{4, 5, 6}));
    ASSERT_EQ(mesh.blend.size(), 3u);
    EXPECT_EQ(mesh.blend[2].position.x, 3.0f);
}

TEST(PrepareTest, VertexColoursCountOnlyForAPaletteValueOtherThanWhiteAndMarkers) {
    MeshBuilder white;
    white.add(0, 0, 0).add(1, 0, 0, 0, 0, -4).add(0, 1, 0);
    EXPECT_EQ(white.finish().has_vertex_colours, 0);
    MeshBuilder coloured;
    coloured.add(0, 0, 0).add(1, 0, 0, 0, 0, 0x0000FF).add(0, 1, 0);
    EXPECT_EQ(coloured.finish().has_vertex_colours, 1);
}

TEST(PaletteTest, ColourValuesInFirstSeenOrderMarkersIncluded) {
    MeshBuilder builder;
    builder.add(0, 0, 0, 0, 0, 0x112233).add(1, 0, 0, 0, 0, 0xFFFFFF).add(2, 0, 0, 0, 0, 0x112233);
    builder.frame(1).add(0, 0, 0, 0, 0, 0x445566);
    const MeshObjectX mesh = builder.finish();
    EXPECT_EQ(mesh.palette, (std::vector<int32_t>{-2, 0x112233, 0xFFFFFF, 0x445566}));
    const auto& stream = mesh.frames[0].build_stream;
    EXPECT_EQ(stream[0].palette_index, 0);
    EXPECT_EQ(stream[1].palette_index, 1);
    EXPECT_EQ(stream[2].palette_index, 2);
    EXPECT_EQ(stream[3].palette_index, 1);
    EXPECT_EQ(mesh.frames[1].build_stream[1].palette_index, 3);
}

TEST(PaletteTest, MoreThan256ColoursWrapTheIndexButNoVertexTurnsIntoAMarker) {
    MeshBuilder builder;
    for (int32_t i = 0; i < 300; ++i)
        builder.add(static_cast<float>(i), 0, 0, 0, 0, 0x010000 + i);
    const MeshObjectX mesh = builder.finish();
    ASSERT_EQ(mesh.palette.size(), 301u);
    const auto& stream = mesh.frames[0].build_stream;
    EXPECT_EQ(stream[255].palette_index, 255);
    EXPECT_EQ(stream[256].palette_index, 0);  // position 256 wraps onto the strip marker's
    EXPECT_EQ(stream[300].palette_index, 300 - 256);
    // A strip of 300 vertices still gives 298 triangles.
    EXPECT_EQ(mesh.frames[0].triangles.size(), 298u * 3);
}

TEST(BoundsTest, CentreIsTheMeanOfEveryUseAndRadiusTheFarthestRecord) {
    MeshBuilder builder;
    builder.marker(kMarkerTriangles);
    builder.add(0, 0, 0).add(4, 0, 0).add(0, 4, 0);
    builder.add(0, 0, 0).add(4, 0, 0).add(0, 0, 8);
    const MeshObjectX mesh = builder.finish();
    const MeshFrame& frame = mesh.frames[0];
    // Six uses: x sums to 8, y to 4, z to 8.
    EXPECT_FLOAT_EQ(frame.bound_centre.x, 8.0f / 6);
    EXPECT_FLOAT_EQ(frame.bound_centre.y, 4.0f / 6);
    EXPECT_FLOAT_EQ(frame.bound_centre.z, 8.0f / 6);
    const float dx = 8.0f / 6;
    const float dy = 4.0f / 6;
    const float dz = 8 - 8.0f / 6;
    EXPECT_FLOAT_EQ(frame.bound_radius, std::sqrt(dx * dx + dy * dy + dz * dz));
}

TEST(BoundsTest, EmptyAndSinglePointFramesHaveRadiusZero) {
    MeshBuilder builder;
    builder.add(3, 3, 3).add(3, 3, 3).add(3, 3, 3);
    builder.frame(1);
    MeshObjectX mesh = builder.raw();
    mesh.prepare();
    compute_bounds(mesh);
    EXPECT_EQ(mesh.frames[0].bound_radius, 0.0f);
    EXPECT_FLOAT_EQ(mesh.frames[0].bound_centre.y, 3.0f);
    EXPECT_EQ(mesh.frames[1].bound_radius, 0.0f);
    EXPECT_EQ(mesh.frames[1].bound_centre.x, 0.0f);
}

TEST(ScaleTest, PositionsScaleAndNormalsFollowTheirOwnRuleInEachArray) {
    MeshBuilder builder;
    builder.add(1, 1, 1).add(2, 1, 1).add(1, 2, 1);
    MeshObjectX mesh = builder.finish();
    for (MeshFrame& frame : mesh.frames) {
        for (auto* records : {&frame.build_stream, &frame.triangles}) {
            for (MeshVertex& record : *records) {
                record.normal = Vec3f{1, 1, 1};
                record.tangent = Vec3f{0, 1, 0};
            }
        }
    }
    scale_mesh(mesh, 2, 3, 6);  // length 7
    const MeshVertex& built = mesh.frames[0].build_stream[2];
    EXPECT_FLOAT_EQ(built.position.x, 4.0f);
    EXPECT_FLOAT_EQ(built.position.y, 3.0f);
    EXPECT_FLOAT_EQ(built.position.z, 6.0f);
    EXPECT_FLOAT_EQ(built.normal.x, 2.0f / 7);
    EXPECT_FLOAT_EQ(built.normal.z, 6.0f / 7);
    EXPECT_FLOAT_EQ(built.tangent.y, 3.0f / 7);
    const MeshVertex& drawn = mesh.frames[0].triangles[2];
    EXPECT_FLOAT_EQ(drawn.position.y, 6.0f);
    EXPECT_FLOAT_EQ(drawn.normal.y, 3.0f);
    EXPECT_FLOAT_EQ(drawn.tangent.y, 3.0f);
    // The bounds follow the new positions: centre of (2,3,6), (4,3,6), (2,6,6).
    EXPECT_FLOAT_EQ(mesh.frames[0].bound_centre.x, 8.0f / 3);
    EXPECT_FLOAT_EQ(mesh.frames[0].bound_centre.y, 4.0f);
}

TEST(ScaleTest, AZeroScaleLeavesBuildStreamNormalsAlone) {
    MeshBuilder builder;
    builder.add(1, 1, 1).add(2, 1, 1).add(1, 2, 1);
    MeshObjectX mesh = builder.finish();
    mesh.frames[0].build_stream[1].normal = Vec3f{0, 0, 1};
    scale_mesh(mesh, 0, 0, 0);
    EXPECT_EQ(mesh.frames[0].build_stream[1].normal.z, 1.0f);
    EXPECT_EQ(mesh.frames[0].build_stream[1].position.x, 0.0f);
    EXPECT_EQ(mesh.frames[0].bound_radius, 0.0f);
}

TEST(MeshObjectXTest, GlObjectsAreReleasedOnceThroughTheHookWhenTheMeshGoesOrIsScaled) {
    static std::vector<uint32_t> released;
    released.clear();
    MeshGraphicsHooks hooks;
    hooks.release_gpu = [](MeshGpuResources& resources) {
        released.push_back(resources.static_buffer);
    };
    set_mesh_graphics_hooks(std::move(hooks));
    {
        MeshObjectX first;
        first.gpu.static_buffer = 7;
        MeshObjectX second(std::move(first));
        EXPECT_EQ(first.gpu.static_buffer, 0u);
        std::vector<MeshObjectX> meshes;
        meshes.push_back(std::move(second));
        meshes.emplace_back();  // reallocation moves, never releases
        EXPECT_TRUE(released.empty());
        meshes[0].gpu.static_buffer = 8;
        scale_mesh(meshes[0], 1, 1, 1);
        EXPECT_EQ(released, (std::vector<uint32_t>{8}));
        meshes[0].gpu.static_buffer = 9;
    }
    EXPECT_EQ(released, (std::vector<uint32_t>{8, 9}));
    set_mesh_graphics_hooks({});
}

TEST(MeshObjectXTest, ClearKeepsTheTextureNumbers) {
    MeshBuilder builder;
    builder.add(0, 0, 0).add(1, 0, 0).add(0, 1, 0);
    MeshObjectX mesh = builder.finish();
    mesh.texture_a = 2;
    mesh.normals_valid = 1;
    mesh.clear();
    EXPECT_TRUE(mesh.frames.empty());
    EXPECT_TRUE(mesh.palette.empty());
    EXPECT_EQ(mesh.normals_valid, 0);
    EXPECT_EQ(mesh.texture_a, 2);
}

}  // namespace
}  // namespace vexel
