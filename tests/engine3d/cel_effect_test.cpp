#include "engine3d/cel_effect.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include <vexel/dyn_array.h>
#include <vexel/scene3d.h>

#include "engine3d/render_test_support.h"

namespace vexel {
namespace {

using testing::read_pixel;
using testing::scene;

constexpr int32_t kGrey = 0x808080;

// A sphere of the radius at the origin as independent triangles facing outwards.
void build_sphere(int32_t slot, float radius, int32_t colour) {
    constexpr int32_t kRings = 16;
    constexpr int32_t kSegments = 24;
    constexpr float kPi = 3.14159265f;
    const auto point = [radius](int32_t ring, int32_t segment) {
        const float theta = kPi * static_cast<float>(ring) / kRings;
        const float phi = 2 * kPi * static_cast<float>(segment) / kSegments;
        return Vec3f{radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                     radius * std::sin(theta) * std::sin(phi)};
    };
    const auto add = [colour](const Vec3f& p) { object_add_vertex(p.x, p.y, p.z, 0, 0, colour); };
    const auto triangle = [&add](Vec3f a, Vec3f b, Vec3f c) {
        // The engine's front faces run clockwise: (c - a) x (b - a) points out of the sphere.
        const Vec3f u{c.x - a.x, c.y - a.y, c.z - a.z};
        const Vec3f v{b.x - a.x, b.y - a.y, b.z - a.z};
        const Vec3f n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        if (n.x * (a.x + b.x + c.x) + n.y * (a.y + b.y + c.y) + n.z * (a.z + b.z + c.z) < 0)
            std::swap(b, c);
        add(a);
        add(b);
        add(c);
    };
    object_start(slot);
    object_add_vertex(0, 0, 0, 0, 0, -1);
    for (int32_t ring = 0; ring < kRings; ++ring) {
        for (int32_t segment = 0; segment < kSegments; ++segment) {
            const Vec3f a = point(ring, segment);
            const Vec3f b = point(ring + 1, segment);
            const Vec3f c = point(ring + 1, segment + 1);
            const Vec3f d = point(ring, segment + 1);
            if (ring + 1 < kRings) triangle(a, b, c);
            if (ring > 0) triangle(a, c, d);
        }
    }
    object_end();
}

class CelEffectTest : public testing::RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        testing::fill_window(0, 0, 640, 480, kGrey);
        build_sphere(1, 2, 0xFFFFFF);
    }
    // Cel shading lit from the camera side.
    static void cel_light() { set_light(-2, 0, 0, 0, 10, 0, 0, 0, 1); }
    static int32_t pixel_at_radius(float pixels) {
        return read_pixel(320 + static_cast<int32_t>(std::lround(pixels)), 240);
    }
};

TEST_F(CelEffectTest, NoMoreLitIntensitiesThanRampLevels) {
    DynArray<double> levels;
    levels.dim(3);
    levels.at(0) = 0.3;
    levels.at(1) = 0.6;
    levels.at(2) = 1.0;
    set_cel_shading(levels);
    cel_light();
    draw_object(1, 0);
    // The sphere covers 118 pixels around the middle; count the grey levels inside it. Linear
    // filtering of the ramp leaves a few pixels between bands, far below 2 % of the disc.
    std::map<int32_t, int32_t> counts;
    int32_t inside = 0;
    for (int32_t y = 140; y <= 340; y += 2) {
        for (int32_t x = 220; x <= 420; x += 2) {
            const float r = std::hypot(float(x - 320), float(y - 240));
            if (r > 110) continue;
            const int32_t pixel = read_pixel(x, y);
            EXPECT_EQ(testing::red_of(pixel), testing::blue_of(pixel));
            ++counts[testing::red_of(pixel)];
            ++inside;
        }
    }
    int32_t bands = 0;
    for (const auto& [intensity, count] : counts) {
        if (count * 50 <= inside) continue;
        ++bands;
        const bool on_a_level =
            std::abs(intensity - 76) <= 1 || std::abs(intensity - 153) <= 1 || intensity == 255;
        EXPECT_TRUE(on_a_level) << intensity;
    }
    EXPECT_LE(bands, 3);
    EXPECT_GE(bands, 2);
    EXPECT_GT(counts[255] * 50, inside);
}

TEST_F(CelEffectTest, DefaultRampHasSixteenLevelsAcrossSixtyFourTexels) {
    cel_light();
    draw_object(1, 0);
    EXPECT_EQ(scene().cel_levels, std::vector<uint8_t>(std::begin(engine3d::kDefaultCelLevels),
                                                       std::end(engine3d::kDefaultCelLevels)));
    const MeshObjectX& mesh = scene().objects[1].meshes[0];
    ASSERT_NE(mesh.gpu.ramp_texture, 0u);
    const ImageBuffer ramp = testing::texture_level(mesh.gpu.ramp_texture, 0);
    EXPECT_EQ(ramp.width(), 64);
    // The palette holds the two markers and white: four rows.
    ASSERT_EQ(mesh.palette.size(), 3u);
    EXPECT_EQ(ramp.height(), 4);
    EXPECT_FLOAT_EQ(mesh.gpu.ramp_row_height, 0.25f);
    for (int32_t j = 0; j < 64; ++j) {
        EXPECT_EQ(ramp.pixel(j, 0)[0], engine3d::kDefaultCelLevels[j / 4]) << j;
        EXPECT_EQ(ramp.pixel(j, 1)[3], 255);
    }
}

TEST_F(CelEffectTest, RampRowsShadeThePaletteColours) {
    object_start(2);
    testing::add_quad(testing::Rect{-1, -1, 0, 1}, 0, 0x0000FF);
    testing::add_quad(testing::Rect{0, -1, 1, 1}, 0, 0x00FF00);
    object_end();
    DynArray<double> levels;
    levels.dim(20);
    for (int32_t i = 0; i < 20; ++i)
        levels.at(i) = 0.5;
    set_cel_shading(levels);
    cel_light();
    draw_object(2, 0);
    const MeshObjectX& mesh = scene().objects[2].meshes[0];
    // The strip and triangle markers, red and green.
    ASSERT_EQ(mesh.palette, (std::vector<int32_t>{-2, -1, 0x0000FF, 0x00FF00}));
    const ImageBuffer ramp = testing::texture_level(mesh.gpu.ramp_texture, 0);
    EXPECT_EQ(ramp.width(), 128);  // 64 doubled until it reaches 4 x 20
    EXPECT_EQ(ramp.height(), 4);
    const uint8_t* marker_row = ramp.pixel(5, 0);
    EXPECT_EQ(marker_row[0], 127);  // markers shade white
    EXPECT_EQ(marker_row[2], 127);
    const uint8_t* red_row = ramp.pixel(5, 2);
    EXPECT_EQ(red_row[0], 127);
    EXPECT_EQ(red_row[1], 0);
    const uint8_t* green_row = ramp.pixel(5, 3);
    EXPECT_EQ(green_row[0], 0);
    EXPECT_EQ(green_row[1], 127);
    EXPECT_EQ(green_row[3], 255);
    // Both halves face the light: drawn in their band.
    const int32_t left = read_pixel(testing::column_of(-0.5f), 240);
    EXPECT_NEAR(testing::red_of(left), 127, 2);
    EXPECT_EQ(testing::green_of(left), 0);
}

TEST_F(CelEffectTest, NewLevelsRebuildTheRamp) {
    cel_light();
    draw_object(1, 0);
    ASSERT_NE(scene().objects[1].meshes[0].gpu.ramp_texture, 0u);
    DynArray<double> levels;
    levels.dim(1);
    levels.at(0) = 0.5;
    set_cel_shading(levels);
    EXPECT_EQ(scene().objects[1].meshes[0].gpu.ramp_texture, 0u);
    draw_object(1, 0);
    const ImageBuffer ramp =
        testing::texture_level(scene().objects[1].meshes[0].gpu.ramp_texture, 0);
    EXPECT_EQ(ramp.pixel(0, 1)[0], 127);
    EXPECT_EQ(ramp.pixel(63, 1)[0], 127);
}

TEST_F(CelEffectTest, BlackOutlineAroundTheObject) {
    set_cull_mode(1);
    cel_light();
    draw_object(1, 0);
    // Silhouette radius 10 * tan(asin(0.2)) = 2.04 units: 118 pixels. The outline adds
    // 10 * tan(50) * 0.003 = 0.036 units, about 2 pixels.
    EXPECT_EQ(pixel_at_radius(118.5f), 0);
    EXPECT_EQ(pixel_at_radius(126), kGrey);
    EXPECT_NE(pixel_at_radius(110), 0);
    EXPECT_EQ(scene().cull_mode, 1);
    EXPECT_EQ(testing::gl_integer(GL_FRONT_FACE), GL_CW);
    EXPECT_EQ(testing::gl_integer(GL_DEPTH_FUNC), GL_LESS);
}

TEST_F(CelEffectTest, NoOutlineWithoutCulling) {
    cel_light();
    draw_object(1, 0);
    EXPECT_EQ(pixel_at_radius(118.5f), kGrey);
}

TEST_F(CelEffectTest, OutlineVanishesFarAway) {
    set_cull_mode(1);
    cel_light();
    const auto black_around = []() {
        int32_t black = 0;
        for (int32_t y = 225; y <= 255; ++y) {
            for (int32_t x = 305; x <= 335; ++x)
                black += read_pixel(x, y) == 0 ? 1 : 0;
        }
        return black;
    };
    // At 200 the width 200 * tan(50) * 0.003 = 0.72 stays below half the radius (1).
    set_camera(0, 0, 200, 0, 0, 0);
    set_light(-2, 0, 0, 0, 200, 0, 0, 0, 1);
    draw_object(1, 0);
    EXPECT_GT(black_around(), 20);
    testing::fill_window(0, 0, 640, 480, kGrey);
    glClear(GL_DEPTH_BUFFER_BIT);
    // At 400 it would be 1.43: no outline at all.
    set_camera(0, 0, 400, 0, 0, 0);
    set_light(-2, 0, 0, 0, 400, 0, 0, 0, 1);
    draw_object(1, 0);
    EXPECT_EQ(black_around(), 0);
    EXPECT_NE(read_pixel(320, 240), kGrey);
}

TEST_F(CelEffectTest, MissingNormalsAreMadeOnceAndTheStaticBufferRefilled) {
    set_auto_normals(0);
    build_sphere(2, 2, 0xFFFFFF);
    MeshObjectX& mesh = scene().objects[2].meshes[0];
    ASSERT_EQ(mesh.normals_valid, 0);
    draw_object(2, 0);
    ASSERT_NE(mesh.gpu.static_buffer, 0u);
    cel_light();
    glClear(GL_DEPTH_BUFFER_BIT);
    draw_object(2, 0);
    EXPECT_EQ(mesh.normals_valid, 1);
    EXPECT_EQ(mesh.gpu.static_buffer, 0u);
    const Vec3f& n = mesh.frames[0].triangles[0].normal;
    EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1, 1e-4);
    // Facing the light at the middle: the brightest band.
    EXPECT_EQ(read_pixel(320, 240), 0xFFFFFF);
}

TEST_F(CelEffectTest, LightingComesBackAfterTheOutline) {
    set_cull_mode(1);
    set_light(0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 90);
    cel_light();
    draw_object(1, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
}

}  // namespace
}  // namespace vexel
