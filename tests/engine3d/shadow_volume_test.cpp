#include "engine3d/shadow_volume.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vexel/frame.h>
#include <vexel/scene3d.h>
#include <vexel/window.h>

#include <cmath>
#include <functional>
#include <limits>

#include "engine3d/buffer_objects.h"
#include "engine3d/render_test_support.h"

namespace vexel {
namespace {

using testing::read_pixel;
using testing::Rect;
using testing::scene;

constexpr int32_t kFloor = 0x40C080;  // red 0x80, green 0xC0, blue 0x40
constexpr int32_t kCaster = 0x0000FF;
constexpr int32_t kShadow = 0x000000;

GLint stencil_at(int32_t x, int32_t y) {
    GLubyte value = 0;
    glReadPixels(x, y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
    return value;
}

class ShadowVolumeTest : public testing::RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        testing::build_quad(1, Rect{-4, -4, 4, 4}, 0, kFloor);
        testing::build_quad(2, Rect{-0.5f, -0.5f, 0.5f, 0.5f}, 2, kCaster);
        draw_object(1, 0);
        draw_object(2, 0);
    }
    // The light at (5, 0, 10) throws the caster's shadow onto the floor over
    // x -1.875 ... -0.625, y -0.625 ... 0.625; the caster hides the part right of -0.0625 in
    // window units, so the visible shadow spans columns 212 ... 283 and rows 204 ... 276.
    static void cast_shadow() {
        set_light(-3, kShadow, 5, 0, 10, 0, 0, 0, 1);
        draw_object(2, 0);
        set_light(-3, kShadow, 5, 0, 10, 0, 0, 0, 0);
    }
};

TEST_F(ShadowVolumeTest, CasterDarkensExactlyTheShadowAtHalfStrength) {
    cast_shadow();
    for (const int32_t x : {216, 240, 280}) {
        for (const int32_t y : {208, 240, 272}) {
            const int32_t pixel = read_pixel(x, y);
            EXPECT_NEAR(testing::red_of(pixel), 0x40, 1) << x << "," << y;
            EXPECT_NEAR(testing::green_of(pixel), 0x60, 1) << x << "," << y;
            EXPECT_NEAR(testing::blue_of(pixel), 0x20, 1) << x << "," << y;
        }
    }
    for (const auto& [x, y] : {std::pair{206, 240}, std::pair{240, 282}, std::pair{240, 198},
                               std::pair{150, 240}, std::pair{450, 240}, std::pair{240, 100}})
        EXPECT_EQ(read_pixel(x, y), kFloor) << x << "," << y;
    EXPECT_EQ(read_pixel(320, 240), kCaster);
    EXPECT_EQ(read_pixel(300, 260), kCaster);
}

TEST_F(ShadowVolumeTest, ShadowColourIsBlendedAtHalf) {
    set_light(-3, 0xFFFFFF, 5, 0, 10, 0, 0, 0, 1);
    draw_object(2, 0);
    set_light(-3, 0, 5, 0, 10, 0, 0, 0, 0);
    const int32_t pixel = read_pixel(240, 240);
    EXPECT_NEAR(testing::red_of(pixel), (0x80 + 0xFF) / 2, 1);
    EXPECT_NEAR(testing::green_of(pixel), (0xC0 + 0xFF) / 2, 1);
    EXPECT_NEAR(testing::blue_of(pixel), (0x40 + 0xFF) / 2, 1);
}

TEST_F(ShadowVolumeTest, CullModeDoesNotChangeTheShadow) {
    set_cull_mode(1);
    cast_shadow();
    EXPECT_NEAR(testing::green_of(read_pixel(240, 240)), 0x60, 1);
    EXPECT_EQ(read_pixel(206, 240), kFloor);
    EXPECT_EQ(testing::gl_integer(GL_FRONT_FACE), GL_CW);
    set_cull_mode(-1);
    cast_shadow();
    EXPECT_NEAR(testing::green_of(read_pixel(240, 240)), 0x30, 1);  // darkened twice
}

TEST_F(ShadowVolumeTest, ModeThreeNeverDrawsTheMesh) {
    // In front of the caster, so that drawing it would pass the depth test and mark the stencil.
    object_start(3);
    testing::add_quad(Rect{-0.5f, -0.5f, 0.5f, 0.5f}, 2.5f, kCaster);
    object_set_frame(1);
    testing::add_quad(Rect{-0.5f, -0.5f, 0.5f, 0.5f}, 2.5f, kCaster);
    object_end();
    const uint64_t uploads = engine3d::vertex_upload_count();
    // Light behind the caster: no triangle faces it, so the volume is all at infinity and the
    // stencil stays 0 where the mesh itself would have been marked.
    set_light(-3, kShadow, 0, 0, -20, 0, 0, 0, 1);
    draw_object(3, 0);
    draw_object(3, 1);
    EXPECT_EQ(stencil_at(320, 240), 0);
    EXPECT_EQ(engine3d::vertex_upload_count(), uploads);
    EXPECT_EQ(scene().objects[3].meshes[0].gpu.static_buffer, 0u);
    set_light(-3, kShadow, 0, 0, -20, 0, 0, 0, 0);
    EXPECT_EQ(read_pixel(320, 240), kCaster);
}

TEST_F(ShadowVolumeTest, VolumeOutsideTheViewStillCastsIntoIt) {
    // The caster moved right out of the view, the light far to its right: the shadow falls back
    // into the view.
    testing::build_quad(4, Rect{-0.5f, -0.5f, 0.5f, 0.5f}, 0, kCaster);
    translate(12, 0, 5);
    set_light(-3, kShadow, 40, 0, 15, 0, 0, 0, 1);
    draw_object(4, 0);
    set_light(-3, kShadow, 40, 0, 15, 0, 0, 0, 0);
    // Rays from (40, 0, 15) past the caster's edges x 11.5 and 12.5 meet the floor at x -2.75
    // and -1.25.
    EXPECT_NEAR(testing::green_of(read_pixel(testing::column_of(-2), 240)), 0x60, 1);
    EXPECT_EQ(read_pixel(testing::column_of(-3), 240), kFloor);
    EXPECT_EQ(read_pixel(testing::column_of(-1), 240), kFloor);
}

TEST_F(ShadowVolumeTest, PassIsClosedByTheFrameCommands) {
    set_light(-3, kShadow, 5, 0, 10, 0, 0, 0, 1);
    draw_object(2, 0);
    EXPECT_EQ(scene().shadow_pass, 1);
    end_3d();
    EXPECT_EQ(scene().shadow_pass, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_NEAR(testing::green_of(read_pixel(240, 240)), 0x60, 1);
}

TEST_F(ShadowVolumeTest, PassIsClosedByDepthClearsNewFramesAndTheViewport) {
    const std::function<void()> closers[] = {
        [] { clear_depth_buffer(); },
        [] { begin_3d(1, 1000, 45); },
        [] { set_viewport(0, 0, 640, 480); },
        [] { show_screen(); },
    };
    for (const auto& close : closers) {
        set_light(-3, kShadow, 5, 0, 10, 0, 0, 0, 1);
        EXPECT_EQ(scene().shadow_pass, 1);
        close();
        EXPECT_EQ(scene().shadow_pass, 0);
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        GLboolean colour_writes[4] = {};
        glGetBooleanv(GL_COLOR_WRITEMASK, colour_writes);
        EXPECT_TRUE(colour_writes[0]);
    }
}

TEST_F(ShadowVolumeTest, ClientArraysCastTheSameShadow) {
    engine3d::allow_buffer_objects(false);
    cast_shadow();
    engine3d::allow_buffer_objects(true);
    EXPECT_NEAR(testing::green_of(read_pixel(240, 240)), 0x60, 1);
    EXPECT_EQ(read_pixel(206, 240), kFloor);
}

TEST(ShadowEdgesTest, NeighboursAcrossWeldedCorners) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    const auto corner = [](float x, float y) {
        MeshVertex v;
        v.position = Vec3f{x, y, 0};
        return v;
    };
    // Two triangles sharing the edge (1, 0) - (0, 1), one corner off by less than the tolerance.
    mesh.frames[0].triangles = {corner(0, 0),         corner(0, 1), corner(1, 0),
                                corner(1.000005f, 0), corner(0, 1), corner(1, 1)};
    engine3d::ensure_shadow_edges(mesh);
    ASSERT_EQ(mesh.shadow_edges.size(), 6u);
    int32_t shared = 0;
    for (size_t e = 0; e < 6; ++e) {
        const ShadowEdge& edge = mesh.shadow_edges[e];
        if (edge.neighbour < 0) continue;
        ++shared;
        EXPECT_EQ(edge.neighbour, e < 3 ? 1 : 0);
    }
    EXPECT_EQ(shared, 2);
    // Lit from the clockwise side (+z), both face it: only the four outer edges are silhouette.
    engine3d::find_silhouette(mesh, mesh.frames[0], Vec3f{0, 0, 5});
    EXPECT_EQ(mesh.faces_light, (std::vector<uint8_t>{1, 1}));
    int32_t silhouette = 0;
    for (const ShadowEdge& edge : mesh.shadow_edges)
        silhouette += edge.silhouette;
    EXPECT_EQ(silhouette, 4);
    engine3d::find_silhouette(mesh, mesh.frames[0], Vec3f{0, 0, -5});
    EXPECT_EQ(mesh.faces_light, (std::vector<uint8_t>{0, 0}));
    for (const ShadowEdge& edge : mesh.shadow_edges)
        EXPECT_EQ(edge.silhouette, 0);
}

// Far, infinite and undefined coordinates still weld: the cells they fall in are hashed without
// overflow (the sanitizer build ends the test otherwise).
TEST(ShadowEdgesTest, FarInfiniteAndUndefinedCornersStillFindTheirNeighbours) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float far : {3.0e6f, -7.5e12f, 3.0e38f, inf, -inf, nan}) {
        MeshObjectX mesh;
        mesh.frames.resize(1);
        const auto corner = [far](float y, float z) {
            MeshVertex v;
            v.position = Vec3f{far, y, z};
            return v;
        };
        mesh.frames[0].triangles = {corner(0, 0), corner(0, 1), corner(1, 0),
                                    corner(1, 0), corner(0, 1), corner(1, 1)};
        engine3d::ensure_shadow_edges(mesh);
        ASSERT_EQ(mesh.shadow_edges.size(), 6u) << far;
        int32_t shared = 0;
        for (const ShadowEdge& edge : mesh.shadow_edges)
            shared += edge.neighbour >= 0;
        // Corners an infinite or undefined distance apart are never within the tolerance.
        EXPECT_EQ(shared, std::isfinite(far) ? 2 : 0) << far;
    }
}

TEST(ShadowEdgesTest, CornersFurtherApartStaySeparate) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    const auto corner = [](float x, float y) {
        MeshVertex v;
        v.position = Vec3f{x, y, 0};
        return v;
    };
    mesh.frames[0].triangles = {corner(0, 0),        corner(0, 1), corner(1, 0),
                                corner(1.00002f, 0), corner(0, 1), corner(1, 1)};
    engine3d::ensure_shadow_edges(mesh);
    for (const ShadowEdge& edge : mesh.shadow_edges)
        EXPECT_EQ(edge.neighbour, -1);
}

}  // namespace
}  // namespace vexel
