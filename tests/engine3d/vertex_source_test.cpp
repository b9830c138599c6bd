#include "engine3d/vertex_source.h"

#include <gtest/gtest.h>

#include "engine3d/duderedi_3d.h"

namespace vexel::engine3d {
namespace {

MeshVertex record(float x, float nx, float u, int32_t colour) {
    MeshVertex v;
    v.position = Vec3f{x, 0, 0};
    v.normal = Vec3f{nx, 0, 1};
    v.u = u;
    v.v = -u;
    v.tangent = Vec3f{1, 0, 0};
    v.bitangent = Vec3f{0, 1, 0};
    v.set_colour(colour);
    return v;
}

// Three frames of one triangle; frame k has positions at x = 10k and its own colour.
MeshObjectX three_frames() {
    MeshObjectX mesh;
    mesh.frames.resize(3);
    for (int32_t k = 0; k < 3; ++k) {
        const float x = 10.0f * static_cast<float>(k);
        for (int32_t i = 0; i < 3; ++i)
            mesh.frames[k].triangles.push_back(record(x + float(i), float(k), 0.1f * k, 0x10 * k));
    }
    return mesh;
}

TEST(VertexSourceTest, PositionAndNormalBlendOtherFieldsFromFrameA) {
    MeshObjectX mesh = three_frames();
    fill_blend_buffer(mesh, FrameChoice{2, 0, 0.25f}, BlendExtras{});
    ASSERT_EQ(mesh.blend.size(), 3u);
    // b + (a - b) * w: 0 + (20 - 0) * 0.25 = 5.
    EXPECT_FLOAT_EQ(mesh.blend[0].position.x, 5);
    EXPECT_FLOAT_EQ(mesh.blend[1].position.x, 6);
    EXPECT_FLOAT_EQ(mesh.blend[0].normal.x, 0.5f);
    EXPECT_FLOAT_EQ(mesh.blend[0].u, 0.2f);
    EXPECT_EQ(mesh.blend[0].colour, 0x20);
}

TEST(VertexSourceTest, UnblendedCopiesFrameAAndAddsTheOffset) {
    MeshObjectX mesh = three_frames();
    BlendExtras extras;
    extras.offset_u = 0.5f;
    extras.offset_v = -0.25f;
    fill_blend_buffer(mesh, FrameChoice{1, 1, 0}, extras);
    EXPECT_FLOAT_EQ(mesh.blend[2].position.x, 12);
    EXPECT_FLOAT_EQ(mesh.blend[2].u, 0.6f);
    EXPECT_FLOAT_EQ(mesh.blend[2].v, -0.35f);
    EXPECT_FLOAT_EQ(mesh.frames[1].triangles[2].u, 0.1f);  // the frame itself is untouched
}

TEST(VertexSourceTest, ShorterFrameBLeavesTheRestToFrameA) {
    MeshObjectX mesh = three_frames();
    mesh.frames[0].triangles.resize(1);
    fill_blend_buffer(mesh, FrameChoice{2, 0, 0.5f}, BlendExtras{});
    ASSERT_EQ(mesh.blend.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.blend[0].position.x, 10);
    EXPECT_FLOAT_EQ(mesh.blend[1].position.x, 21);
}

TEST(VertexSourceTest, BumpLightInTangentSpaceMappedToColour) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    MeshVertex v = record(0, 0, 0, 0xFFFFFF);
    v.normal = Vec3f{0, 0, 1};
    mesh.frames[0].triangles = {v};
    BlendExtras extras;
    extras.effect = kEffectBumpMapping;
    extras.light = Vec3f{3, 0, 4};  // direction (0.6, 0, 0.8)
    fill_blend_buffer(mesh, FrameChoice{0, 0, 0}, extras);
    EXPECT_FLOAT_EQ(mesh.blend[0].reserved.x, 0.8f);
    EXPECT_FLOAT_EQ(mesh.blend[0].reserved.y, 0.5f);
    EXPECT_FLOAT_EQ(mesh.blend[0].reserved.z, 0.9f);
}

TEST(VertexSourceTest, CelRampCoordinatesClampedAndOnTheColoursRow) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    MeshVertex facing = record(0, 0, 0, 0xFFFFFF);
    facing.normal = Vec3f{0, 0, 1};
    facing.palette_index = 2;
    MeshVertex away = facing;
    away.normal = Vec3f{0, 0, -1};
    mesh.frames[0].triangles = {facing, away};
    BlendExtras extras;
    extras.effect = kEffectCelShading;
    extras.light = Vec3f{0, 0, 10};
    extras.ramp_row_height = 0.25f;
    fill_blend_buffer(mesh, FrameChoice{0, 0, 0}, extras);
    EXPECT_FLOAT_EQ(mesh.blend[0].bitangent.x, 0.95f);
    EXPECT_FLOAT_EQ(mesh.blend[1].bitangent.x, 0.05f);
    EXPECT_FLOAT_EQ(mesh.blend[0].bitangent.y, 0.625f);
}

TEST(VertexSourceTest, LightAtTheVertexLeavesTheDirectionUnnormalised) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    MeshVertex v = record(0, 0, 0, 0xFFFFFF);
    v.normal = Vec3f{0, 0, 1};
    mesh.frames[0].triangles = {v};
    BlendExtras extras;
    extras.effect = kEffectCelShading;
    extras.light = Vec3f{0, 0, 0.0001f};
    fill_blend_buffer(mesh, FrameChoice{0, 0, 0}, extras);
    EXPECT_FLOAT_EQ(mesh.blend[0].bitangent.x, 0.05f);  // 0.0001 clamped up
}

TEST(VertexSourceTest, PushOutMovesAlongTheNormal) {
    std::vector<MeshVertex> records = {record(1, 0, 0, 0)};
    records[0].normal = Vec3f{0, 1, 0};
    push_out_along_normals(records, 0.5f);
    EXPECT_FLOAT_EQ(records[0].position.x, 1);
    EXPECT_FLOAT_EQ(records[0].position.y, 0.5f);
}

}  // namespace
}  // namespace vexel::engine3d
