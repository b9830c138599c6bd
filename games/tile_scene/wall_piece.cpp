#include "wall_piece.h"

#include <cmath>
#include <utility>

#include <vexel/math.h>

namespace tile_scene {

namespace {

struct Corner {
    double x;
    double y;
};

struct Corners {
    Corner c1;
    Corner c2;
    Corner c3;
};

Corners corners_of(const WallConstants& wall) {
    return Corners{
        {wall.x_mid, wall.y_back}, {wall.x_left, wall.y_front}, {wall.x_right, wall.y_front}};
}

WallVertex on_sphere(const WallConstants& wall, Corner centre, double height, double longitude,
                     double latitude) {
    const double r = wall.rim_radius;
    const double ring = r * vexel::cos_deg(latitude);
    return WallVertex{centre.x + ring * vexel::cos_deg(longitude),
                      centre.y + ring * vexel::sin_deg(longitude),
                      height + r * vexel::sin_deg(latitude)};
}

// Twelve strips over the corner's outside, each a band of latitudes between two longitudes.
void add_cap(std::vector<WallStrip>& strips, const WallConstants& wall, Corner corner,
             int first_longitude, double height, int first_latitude) {
    for (int a = first_longitude; a <= first_longitude + 110; a += 10) {
        WallStrip strip;
        for (int b = first_latitude; b <= first_latitude + 90; b += 10) {
            strip.push_back(on_sphere(wall, corner, height, a + 10, b));
            strip.push_back(on_sphere(wall, corner, height, a, b));
        }
        strips.push_back(std::move(strip));
    }
}

void add_tube(std::vector<WallStrip>& strips, const WallConstants& wall, Corner from, Corner to,
              double outward, double height, int first_angle) {
    const double r = wall.rim_radius;
    const double dx = vexel::cos_deg(outward);
    const double dy = vexel::sin_deg(outward);
    WallStrip strip;
    for (int t = first_angle; t <= first_angle + 270; t += 10) {
        const double across = r * vexel::cos_deg(t);
        const double z = height + r * vexel::sin_deg(t);
        strip.push_back(WallVertex{from.x + across * dx, from.y + across * dy, z});
        strip.push_back(WallVertex{to.x + across * dx, to.y + across * dy, z});
    }
    strips.push_back(std::move(strip));
}

void add_post(std::vector<WallStrip>& strips, const WallConstants& wall, Corner corner,
              int first_angle) {
    const double r = wall.rim_radius;
    WallStrip strip;
    for (int t = first_angle; t <= first_angle + 300; t += 10) {
        const double x = corner.x + r * vexel::cos_deg(t);
        const double y = corner.y + r * vexel::sin_deg(t);
        strip.push_back(WallVertex{x, y, wall.z_low});
        strip.push_back(WallVertex{x, y, wall.z_high});
    }
    strips.push_back(std::move(strip));
}

void add_panel(std::vector<WallStrip>& strips, const WallConstants& wall, Corner first,
               Corner second) {
    strips.push_back(WallStrip{{first.x, first.y, wall.z_low},
                               {first.x, first.y, wall.z_high},
                               {second.x, second.y, wall.z_low},
                               {second.x, second.y, wall.z_high}});
}

}  // namespace

WallConstants wall_constants() {
    const double inset = std::sqrt(0.0675);
    const double root3 = std::sqrt(3.0);
    return WallConstants{inset - 0.5,       0,    0.5 - inset, root3 / 3 - 0.3,
                         root3 / -6 + 0.15, 0.05, 0.75,        0.15};
}

std::vector<WallStrip> wall_piece_strips(const WallConstants& wall) {
    const Corners c = corners_of(wall);
    std::vector<WallStrip> strips;
    strips.reserve(86);

    for (const auto& [height, first_latitude] : {std::pair{wall.z_low, -90}, {wall.z_high, 0}}) {
        add_cap(strips, wall, c.c1, 30, height, first_latitude);
        add_cap(strips, wall, c.c2, 150, height, first_latitude);
        add_cap(strips, wall, c.c3, 270, height, first_latitude);
    }

    for (const auto& [height, first_angle] : {std::pair{wall.z_low, 180}, {wall.z_high, -90}}) {
        add_tube(strips, wall, c.c3, c.c2, 270, height, first_angle);
        add_tube(strips, wall, c.c1, c.c3, 30, height, first_angle);
        add_tube(strips, wall, c.c2, c.c1, 150, height, first_angle);
    }

    add_post(strips, wall, c.c1, -60);
    add_post(strips, wall, c.c2, 60);
    add_post(strips, wall, c.c3, 180);

    const double top = wall.z_high + 0.125;
    strips.push_back(
        WallStrip{{c.c3.x, c.c3.y, top}, {c.c2.x, c.c2.y, top}, {c.c1.x, c.c1.y, top}});
    const double bottom = wall.z_low - 0.125;
    strips.push_back(
        WallStrip{{c.c2.x, c.c2.y, bottom}, {c.c3.x, c.c3.y, bottom}, {c.c1.x, c.c1.y, bottom}});

    add_panel(strips, wall, c.c2, c.c3);
    add_panel(strips, wall, c.c3, c.c1);
    add_panel(strips, wall, c.c1, c.c2);
    return strips;
}

}  // namespace tile_scene
