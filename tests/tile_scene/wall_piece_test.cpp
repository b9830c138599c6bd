#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "wall_piece.h"

namespace tile_scene {
namespace {

constexpr double kTolerance = 1e-9;

struct Point {
    double x;
    double y;
};

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class WallPieceTest : public ::testing::Test {
protected:
    const WallConstants wall = wall_constants();
    const Point c1{wall.x_mid, wall.y_back};
    const Point c2{wall.x_left, wall.y_front};
    const Point c3{wall.x_right, wall.y_front};
    const std::vector<WallStrip> strips = wall_piece_strips(wall);

    void expect_at(const WallVertex& v, Point p, double z) const {
        EXPECT_NEAR(v.x, p.x, kTolerance);
        EXPECT_NEAR(v.y, p.y, kTolerance);
        EXPECT_NEAR(v.z, z, kTolerance);
    }
};

TEST_F(WallPieceTest, ConstantsMakeTheShrunkenUnitTriangle) {
    EXPECT_NEAR(wall.x_left, -0.240192, 1e-6);
    EXPECT_DOUBLE_EQ(wall.x_mid, 0);
    EXPECT_NEAR(wall.x_right, 0.240192, 1e-6);
    EXPECT_NEAR(wall.y_back, 0.277350, 1e-6);
    EXPECT_NEAR(wall.y_front, -0.138675, 1e-6);
    EXPECT_DOUBLE_EQ(wall.z_low, 0.05);
    EXPECT_DOUBLE_EQ(wall.z_high, 0.75);
    EXPECT_DOUBLE_EQ(wall.rim_radius, 0.15);

    // Equilateral, centred on the origin, each corner 0.3 nearer the centre than the unit
    // triangle's (whose corners lie 1 / sqrt(3) from it).
    const double side = 0.480384;
    EXPECT_NEAR(distance(c1, c2), side, 1e-6);
    EXPECT_NEAR(distance(c2, c3), side, 1e-6);
    EXPECT_NEAR(distance(c3, c1), side, 1e-6);
    for (Point c : {c1, c2, c3})
        EXPECT_NEAR(std::hypot(c.x, c.y), 1 / std::sqrt(3.0) - 0.3, 1e-9);
    EXPECT_NEAR((c1.y + c2.y + c3.y) / 3, 0, 1e-12);
}

TEST_F(WallPieceTest, EightySixStripsOfTheExpectedSizesInOrder) {
    ASSERT_EQ(strips.size(), 86u);
    for (size_t i = 0; i < 72; ++i)
        EXPECT_EQ(strips[i].size(), 20u) << "cap strip " << i;
    for (size_t i = 72; i < 78; ++i)
        EXPECT_EQ(strips[i].size(), 56u) << "tube " << i;
    for (size_t i = 78; i < 81; ++i)
        EXPECT_EQ(strips[i].size(), 62u) << "post " << i;
    for (size_t i = 81; i < 83; ++i)
        EXPECT_EQ(strips[i].size(), 3u) << "end cap " << i;
    for (size_t i = 83; i < 86; ++i)
        EXPECT_EQ(strips[i].size(), 4u) << "panel " << i;
}

TEST_F(WallPieceTest, CapsLieOnSpheresOutsideTheirCornersLowerCapsFirst) {
    const Point corners[3] = {c1, c2, c3};
    for (size_t cap = 0; cap < 6; ++cap) {
        const Point corner = corners[cap % 3];
        const bool lower = cap < 3;
        const double height = lower ? wall.z_low : wall.z_high;
        const double cx = corner.x / std::hypot(corner.x, corner.y);
        const double cy = corner.y / std::hypot(corner.x, corner.y);
        for (size_t s = cap * 12; s < cap * 12 + 12; ++s) {
            for (const WallVertex& v : strips[s]) {
                const double dx = v.x - corner.x;
                const double dy = v.y - corner.y;
                const double dz = v.z - height;
                ASSERT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 0.15, 1e-9) << "strip " << s;
                if (lower) {
                    ASSERT_LE(dz, 1e-12) << "strip " << s;
                } else {
                    ASSERT_GE(dz, -1e-12) << "strip " << s;
                }
                // Within 60 degrees of the direction from the centre through the corner.
                const double ring = std::hypot(dx, dy);
                if (ring > 1e-9) {
                    ASSERT_GE((dx * cx + dy * cy) / ring, 0.5 - 1e-9) << "strip " << s;
                }
            }
        }
    }
}

TEST_F(WallPieceTest, FirstCapStripPairsLongitudesFromTheSouthPoleUp) {
    const WallStrip& strip = strips[0];
    const double r = 0.15;
    // Latitude -90 first: both vertices at the pole below C1.
    expect_at(strip[0], c1, wall.z_low - r);
    expect_at(strip[1], c1, wall.z_low - r);
    // Latitude 0 last: longitude 40 then 30 on the rim's circle.
    const double to_radians = std::acos(-1.0) / 180;
    expect_at(strip[18],
              {c1.x + r * std::cos(40 * to_radians), c1.y + r * std::sin(40 * to_radians)},
              wall.z_low);
    expect_at(strip[19],
              {c1.x + r * std::cos(30 * to_radians), c1.y + r * std::sin(30 * to_radians)},
              wall.z_low);
    // The last strip of C3's upper cap ends at the north pole above C3.
    expect_at(strips[71][19], c3, wall.z_high + r);
}

TEST_F(WallPieceTest, TubesRunAlongTheEdgesAndLeaveThePanelQuarterOpen) {
    struct Tube {
        Point from;
        Point to;
        double outward;
        double height;
    };
    const Tube tubes[6] = {{c3, c2, 270, wall.z_low}, {c1, c3, 30, wall.z_low},
                           {c2, c1, 150, wall.z_low}, {c3, c2, 270, wall.z_high},
                           {c1, c3, 30, wall.z_high}, {c2, c1, 150, wall.z_high}};
    const double to_radians = std::acos(-1.0) / 180;
    for (size_t i = 0; i < 6; ++i) {
        const Tube& tube = tubes[i];
        const WallStrip& strip = strips[72 + i];
        const double ox = std::cos(tube.outward * to_radians);
        const double oy = std::sin(tube.outward * to_radians);
        for (size_t k = 0; k < strip.size(); ++k) {
            const Point end = k % 2 == 0 ? tube.from : tube.to;
            const double dx = strip[k].x - end.x;
            const double dy = strip[k].y - end.y;
            const double dz = strip[k].z - tube.height;
            // Only across the edge, never along it.
            ASSERT_NEAR(dx * -oy + dy * ox, 0, 1e-9) << "tube " << i << " vertex " << k;
            const double across = dx * ox + dy * oy;
            ASSERT_NEAR(std::hypot(across, dz), 0.15, 1e-9) << "tube " << i << " vertex " << k;
            // The open quarter faces the panel: inwards and up from the lower rim, inwards and
            // down from the upper one.
            const bool towards_panel = tube.height == wall.z_low ? dz > 1e-9 : dz < -1e-9;
            ASSERT_FALSE(across < -1e-9 && towards_panel) << "tube " << i << " vertex " << k;
        }
    }
    // Lower tubes start at angle 180, inside the wall at rim height; upper ones at -90, below.
    expect_at(strips[72][0], {c3.x, c3.y + 0.15}, wall.z_low);
    expect_at(strips[72][1], {c2.x, c2.y + 0.15}, wall.z_low);
    expect_at(strips[75][0], c3, wall.z_high - 0.15);
}

TEST_F(WallPieceTest, PostsGoRoundTheCornersFromLowToHigh) {
    const Point corners[3] = {c1, c2, c3};
    const int first_angles[3] = {-60, 60, 180};
    const double to_radians = std::acos(-1.0) / 180;
    for (size_t i = 0; i < 3; ++i) {
        const WallStrip& strip = strips[78 + i];
        for (size_t k = 0; k < strip.size(); k += 2) {
            const double t = (first_angles[i] + 10 * static_cast<int>(k / 2)) * to_radians;
            const Point p{corners[i].x + 0.15 * std::cos(t), corners[i].y + 0.15 * std::sin(t)};
            expect_at(strip[k], p, wall.z_low);
            expect_at(strip[k + 1], p, wall.z_high);
        }
    }
}

TEST_F(WallPieceTest, EndCapsAndPanelsJoinTheCorners) {
    expect_at(strips[81][0], c3, wall.z_high + 0.125);
    expect_at(strips[81][1], c2, wall.z_high + 0.125);
    expect_at(strips[81][2], c1, wall.z_high + 0.125);
    expect_at(strips[82][0], c2, wall.z_low - 0.125);
    expect_at(strips[82][1], c3, wall.z_low - 0.125);
    expect_at(strips[82][2], c1, wall.z_low - 0.125);

    const Point panels[3][2] = {{c2, c3}, {c3, c1}, {c1, c2}};
    for (size_t i = 0; i < 3; ++i) {
        const WallStrip& panel = strips[83 + i];
        expect_at(panel[0], panels[i][0], wall.z_low);
        expect_at(panel[1], panels[i][0], wall.z_high);
        expect_at(panel[2], panels[i][1], wall.z_low);
        expect_at(panel[3], panels[i][1], wall.z_high);
    }
}

}  // namespace
}  // namespace tile_scene
