#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene_layout.h"
#include "tile_meshes.h"

namespace tile_scene {
namespace {

const double kRoot3 = std::sqrt(3.0);

struct Point {
    double x;
    double y;
};

// The tile outlines as the media generator makes them, centred at the origin.
std::vector<Point> triangle_outline() {
    return {{0, 1 / kRoot3}, {-0.5, -0.5 / kRoot3}, {0.5, -0.5 / kRoot3}};
}
std::vector<Point> hexagon_outline() {
    std::vector<Point> points;
    for (int i = 0; i < 6; ++i) {
        const double a = (30 + 60 * i) * std::acos(-1.0) / 180;
        points.push_back({std::cos(a), std::sin(a)});
    }
    return points;
}

std::vector<Point> placed(const std::vector<Point>& outline, const SceneDraw& draw) {
    const double a = draw.turn * std::acos(-1.0) / 180;
    std::vector<Point> out;
    for (Point p : outline)
        out.push_back({draw.x + p.x * std::cos(a) - p.y * std::sin(a),
                       draw.y + p.x * std::sin(a) + p.y * std::cos(a)});
    return out;
}

double lowest_y(const std::vector<Point>& points) {
    double low = points[0].y;
    for (Point p : points)
        low = std::min(low, p.y);
    return low;
}

bool has_corner(const std::vector<Point>& points, Point corner) {
    for (Point p : points)
        if (std::hypot(p.x - corner.x, p.y - corner.y) < 1e-9) return true;
    return false;
}

TEST(SceneLayoutTest, ProjectSettingsAreTheScenes) {
    vexel::ProjectSettings settings;
    settings.width = 1;
    settings.height = 2;
    settings.fullscreen = 1;
    settings.debug_mode = 1;
    settings.exclusive_mouse = 1;
    settings.multisample = 4;
    settings.frame_rate = 5;
    settings.project_name = "other";
    set_project_settings(settings);
    EXPECT_EQ(settings.width, 640);
    EXPECT_EQ(settings.height, 480);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(settings.debug_mode, 0);
    EXPECT_EQ(settings.exclusive_mouse, 0);
    EXPECT_EQ(settings.multisample, 0);
    EXPECT_EQ(settings.frame_rate, 60);
    EXPECT_STREQ(settings.project_name.c_str(), "quorn.triangle.wall.VXM");
}

TEST(SceneLayoutTest, MediaGoIntoTheirSlotsInLoadingOrder) {
    EXPECT_STREQ(kWaterTextureName, "WaterTexture.bmp");
    EXPECT_EQ(kWaterSprite, 0);
    const char* names[4] = {"square-tile.vxm", "triangle-tile.vxm", "hexagon-tile.vxm",
                            "square-wall.vxm"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(kObjectFiles[i].name, names[i]) << i;
        EXPECT_EQ(kObjectFiles[i].slot, static_cast<int32_t>(i + 1)) << i;
    }
    EXPECT_STREQ(kWallPieceName, "Triangle-Wall.vxm");
    EXPECT_EQ(kWallPieceObject, 0);
}

TEST(SceneLayoutTest, SixDrawsWithTheirLightsAndStateChanges) {
    const std::array<SceneDraw, 6>& d = scene_draws();
    const int32_t objects[6] = {4, 1, 1, 3, 2, 0};
    const int32_t colours[6] = {65535, 8454143, 33023, 16744448, 16777215, 16512};
    const double turns[6] = {0, 90, 0, 90, 0, 180};
    const double xs[6] = {1, 0, 1, 1, 0, -0.5};
    const double ys[6] = {
        0, 1, 1, 2 + kRoot3 / 5, 2 - std::sqrt(2.0) / 6, 2 - std::sqrt(2.0) / 6 + kRoot3 / 6};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d[i].object, objects[i]) << i;
        EXPECT_EQ(d[i].light_colour, colours[i]) << i;
        EXPECT_DOUBLE_EQ(d[i].turn, turns[i]) << i;
        EXPECT_DOUBLE_EQ(d[i].x, xs[i]) << i;
        EXPECT_DOUBLE_EQ(d[i].y, ys[i]) << i;
    }
    EXPECT_EQ(d[0].alpha_after, 0.7);
    EXPECT_EQ(d[1].alpha_after, 0.0);
    EXPECT_EQ(d[3].texture_after, kWaterSprite);
    EXPECT_EQ(d[4].texture_after, -1);
    for (size_t i : {2, 3, 4, 5})
        EXPECT_FALSE(d[i].alpha_after.has_value()) << i;
    for (size_t i : {0, 1, 2, 5})
        EXPECT_FALSE(d[i].texture_after.has_value()) << i;
    EXPECT_EQ(kSpotLight.number, 0);
    EXPECT_DOUBLE_EQ(kSpotLight.cone, 45);
    EXPECT_DOUBLE_EQ(kView.field_of_view, 45);
}

TEST(SceneLayoutTest, TheWallPieceStandsOnTheTriangleBesideTheTriangleTile) {
    // The piece is cut from the unit triangle; turned half round it is the triangle tile's
    // neighbour across the tile's left edge.
    const std::vector<Point> tile = placed(triangle_outline(), scene_draws()[4]);
    const std::vector<Point> piece = placed(triangle_outline(), scene_draws()[5]);
    EXPECT_TRUE(has_corner(piece, tile[0]));  // the tile's top corner
    EXPECT_TRUE(has_corner(piece, tile[1]));  // its lower left corner
    EXPECT_FALSE(has_corner(piece, tile[2]));
}

TEST(SceneLayoutTest, TilesMeetTheirNeighboursWithinTheBevel) {
    // Squares: the wall at (1, 0), tiles at (0, 1) and (1, 1), edge to edge. The triangle and the
    // hexagon reach a little into the squares' row; less than the bevel, so their tops stay apart
    // and a grout line shows.
    const std::vector<Point> triangle = placed(triangle_outline(), scene_draws()[4]);
    const std::vector<Point> hexagon = placed(hexagon_outline(), scene_draws()[3]);
    const double squares_top = 1.5;
    const double triangle_overlap = squares_top - lowest_y(triangle);
    const double hexagon_overlap = squares_top - lowest_y(hexagon);
    EXPECT_GE(triangle_overlap, 0);
    EXPECT_LT(triangle_overlap, tile_media::kBevelWidth);
    EXPECT_GE(hexagon_overlap, 0);
    EXPECT_LT(hexagon_overlap, tile_media::kBevelWidth);

    // The triangle's right edge and the hexagon's lower left edge run side by side.
    const Point t0 = triangle[0];
    const Point t2 = triangle[2];
    Point h_low{0, 1e9};
    Point h_left{1e9, 0};
    for (Point p : hexagon) {
        if (p.x < h_left.x) h_left = p;
    }
    for (Point p : hexagon) {
        if (p.y < h_low.y - 1e-9 || (std::fabs(p.y - h_low.y) < 1e-9 && p.x < h_low.x)) h_low = p;
    }
    const double tx = t2.x - t0.x, ty = t2.y - t0.y;
    const double hx = h_low.x - h_left.x, hy = h_low.y - h_left.y;
    EXPECT_NEAR(tx * hy - ty * hx, 0, 1e-9);  // parallel
    const double gap =
        std::fabs((h_left.x - t0.x) * ty - (h_left.y - t0.y) * tx) / std::hypot(tx, ty);
    EXPECT_LT(gap, 0.01);
}

}  // namespace
}  // namespace tile_scene
