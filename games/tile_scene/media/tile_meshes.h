// The scene's four tile meshes. Tiles have unit edges and are centred at the origin; each is a
// slab from z 0 to 0.05 whose top is bevelled down to 0.03 at the outline, so that tiles laid
// edge to edge show narrow grout lines between their tops.
#pragma once

#include "mesh/mesh_object.h"

namespace tile_media {

inline constexpr float kTileHeight = 0.05f;
inline constexpr float kBevelHeight = 0.03f;  // where the bevel meets the outline
inline constexpr float kBevelWidth = 0.03f;
inline constexpr float kWallHeight = 0.75f;
inline constexpr float kWallThickness = 0.2f;  // along the tile's -y edge

// Corners (-0.5, -0.5) ... (0.5, 0.5); texture coordinates span the tile once.
vexel::MeshObjectX make_square_tile();
// A corner towards +y, centred on its centroid; texture coordinates cover one cell (1/8 x 1/8)
// of the 8 x 8 water texture.
vexel::MeshObjectX make_triangle_tile();
// Flat sides facing +x and -x, corners 1 from the centre.
vexel::MeshObjectX make_hexagon_tile();
// The square tile with a wall along its -y edge, rounded over the top to 0.75 and with a rounded
// fillet where it meets the tile.
vexel::MeshObjectX make_square_wall();

}  // namespace tile_media
