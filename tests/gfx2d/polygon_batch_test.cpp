#include <gtest/gtest.h>

#include <vexel/draw.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "platform/gl_enable_cache.h"

namespace vexel {
namespace {

using testing::lit_pixels;
using testing::screen_colour;
using testing::solid_picture;

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kKey = 255 + 128 * 65536;

const std::vector<PolygonVertex>& vertices() {
    return draw_state().polygon.vertices;
}

class PolygonBatchTest : public testing::DrawTest {
protected:
    void quad(double x, double y, double w, double h, int32_t colour) {
        polygon_vertex(x, y, 0, 0, colour);
        polygon_vertex(x + w, y, 0, 0, colour);
        polygon_vertex(x, y + h, 0, 0, colour);
        polygon_vertex(x + w, y + h, 0, 0, colour);
    }
};

TEST_F(PolygonBatchTest, ColouredFanFillsItsRectangle) {
    start_polygon(-1, 0);
    polygon_vertex(10, 10, 0, 0, 0x00FF00);
    polygon_vertex(20, 10, 0, 0, 0x00FF00);
    polygon_vertex(20, 15, 0, 0, 0x00FF00);
    polygon_vertex(10, 15, 0, 0, 0x00FF00);
    end_polygon();
    EXPECT_EQ(screen_colour(10, 10), 0x00FF00);
    EXPECT_EQ(screen_colour(19, 14), 0x00FF00);
    EXPECT_EQ(lit_pixels(5, 5, 20, 15), 50);
    EXPECT_TRUE(draw_state().polygon.coloured);
    // Colour arrays and colour material are off again, the colour is white.
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_EQ(platform::gl_enable_cache_state(GL_COLOR_MATERIAL), 0);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1);
    EXPECT_FLOAT_EQ(colour[2], 1);
}

TEST_F(PolygonBatchTest, WhiteVerticesLeaveTheBatchUncoloured) {
    start_polygon(-1, 1);
    polygon_vertex(0, 0, 0, 0, kWhite);
    EXPECT_FALSE(draw_state().polygon.coloured);
    EXPECT_EQ(vertices()[0].r, 255);
    EXPECT_EQ(vertices()[0].a, 255);
    polygon_vertex(0, 0, 0, 0, 0x030201);
    EXPECT_TRUE(draw_state().polygon.coloured);
    EXPECT_EQ(vertices()[1].r, 1);
    EXPECT_EQ(vertices()[1].g, 2);
    EXPECT_EQ(vertices()[1].b, 3);
}

TEST_F(PolygonBatchTest, VertexAlphaFollowsKeyAndAlphaMode) {
    start_polygon(-1, 1);
    polygon_vertex(0, 0, 0, 0, kKey);
    set_alpha_mode(-0.5);
    polygon_vertex(0, 0, 0, 0, 0x101010);
    EXPECT_EQ(vertices()[0].a, 0);
    EXPECT_EQ(vertices()[1].a, 127);
}

TEST_F(PolygonBatchTest, NewStripJoinsThroughZeroAreaTriangles) {
    start_polygon(-1, 2);
    polygon_new_strip();  // nothing to join yet
    EXPECT_TRUE(vertices().empty());
    quad(0, 0, 4, 4, 0x0000FF);
    polygon_new_strip();
    polygon_new_strip();  // already pending: no second copy
    ASSERT_EQ(vertices().size(), 5u);
    quad(10, 0, 4, 4, 0x0000FF);
    ASSERT_EQ(vertices().size(), 10u);
    EXPECT_FLOAT_EQ(vertices()[4].x, vertices()[3].x);
    EXPECT_FLOAT_EQ(vertices()[5].x, 10);
    EXPECT_FLOAT_EQ(vertices()[6].x, 10);
    end_polygon();
    // Two squares and nothing between them.
    EXPECT_EQ(lit_pixels(0, 0, 20, 8), 32);
    EXPECT_EQ(lit_pixels(4, 0, 6, 8), 0);
}

TEST_F(PolygonBatchTest, TexturedVerticesTakePicturePixels) {
    ImageBuffer picture = solid_picture(8, 4, 0x0000FF);
    for (int32_t x = 4; x < 8; ++x) {
        for (int32_t y = 0; y < 4; ++y)
            picture.pixel(x, y)[1] = 255;
    }
    make_sprite(3, picture);
    set_smoothing(false);
    start_polygon(3, 0);
    // The right half of the picture (green added) onto 4 x 4 pixels.
    polygon_vertex(20, 20, 4, 0, kWhite);
    polygon_vertex(24, 20, 8, 0, kWhite);
    polygon_vertex(24, 24, 8, 4, kWhite);
    polygon_vertex(20, 24, 4, 4, kWhite);
    EXPECT_FLOAT_EQ(vertices()[0].u, 4 / 16.0f);
    EXPECT_FLOAT_EQ(vertices()[0].v, 4 / 16.0f);
    EXPECT_FLOAT_EQ(vertices()[2].v, 0);
    end_polygon();
    EXPECT_EQ(screen_colour(20, 20), 0x00FFFF);
    EXPECT_EQ(screen_colour(23, 23), 0x00FFFF);
    EXPECT_EQ(lit_pixels(16, 16, 12, 12), 16);
}

TEST_F(PolygonBatchTest, BatchStaysUntilTheNextStartAndGrowsPastItsFirstBlock) {
    start_polygon(-1, 1);
    for (int32_t i = 0; i < 300; ++i) {
        polygon_vertex(i % 10, 0, 0, 0, 0x00FF00);
        polygon_vertex(i % 10 + 2, 0, 0, 0, 0x00FF00);
        polygon_vertex(i % 10, 2, 0, 0, 0x00FF00);
    }
    ASSERT_EQ(vertices().size(), 900u);
    end_polygon();
    EXPECT_EQ(vertices().size(), 900u);
    EXPECT_EQ(screen_colour(0, 0), 0x00FF00);
    EXPECT_EQ(screen_colour(9, 0), 0x00FF00);
    start_polygon(-1, 0);
    EXPECT_TRUE(vertices().empty());
}

TEST_F(PolygonBatchTest, UnknownModeAndSlotDrawNothingHarmful) {
    start_polygon(-1, 7);
    quad(0, 0, 8, 8, 0x00FF00);
    end_polygon();
    EXPECT_EQ(lit_pixels(0, 0, 10, 10), 0);
    start_polygon(90000, 0);
    EXPECT_EQ(draw_state().polygon.slot, -1);
    polygon_vertex(0, 0, 5, 5, 0x00FF00);
    EXPECT_FLOAT_EQ(vertices()[0].u, 0);
}

}  // namespace
}  // namespace vexel
