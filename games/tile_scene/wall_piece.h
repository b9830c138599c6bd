// The rounded triangular wall piece the scene builds vertex by vertex: its corner and rim
// constants, and the strips in the order they are handed to the object commands.
#pragma once

#include <vector>

namespace tile_scene {

// Corners C1 = (x_mid, y_back), C2 = (x_left, y_front), C3 = (x_right, y_front): the unit-side
// triangle centred on the origin with each corner moved 0.3 towards the centre.
struct WallConstants {
    double x_left;
    double x_mid;
    double x_right;
    double y_back;
    double y_front;
    double z_low;       // height of the lower rim
    double z_high;      // height of the upper rim
    double rim_radius;  // radius of every rounded edge
};

WallConstants wall_constants();

struct WallVertex {
    double x;
    double y;
    double z;
};

using WallStrip = std::vector<WallVertex>;

// 86 strips: 72 corner-cap strips of 20 vertices (lower caps of C1, C2, C3, then the upper
// ones), 6 edge tubes of 56 (lower, then upper), 3 corner posts of 62, the top and bottom caps
// of 3 and the three wall panels of 4.
std::vector<WallStrip> wall_piece_strips(const WallConstants& wall);

}  // namespace tile_scene
