// Writes the scene's media into a folder through the engine's own BMP encoder and mesh writer.
#pragma once

#include <string>

namespace tile_media {

inline constexpr const char* kWaterTextureName = "WaterTexture.bmp";
inline constexpr const char* kSquareTileName = "square-tile.vxm";
inline constexpr const char* kTriangleTileName = "triangle-tile.vxm";
inline constexpr const char* kHexagonTileName = "hexagon-tile.vxm";
inline constexpr const char* kSquareWallName = "square-wall.vxm";

// Every file, each made anew. The folder ends in "/" or is empty for the current one. On
// failure `failed` names the file that could not be written.
bool write_tile_media(const std::string& folder, std::string& failed);

}  // namespace tile_media
