// Writes the scene's media into a folder through the engine's own BMP encoder and mesh writer.
#pragma once

#include <string>

#include "scene_layout.h"

namespace tile_media {

using tile_scene::kHexagonTileName;
using tile_scene::kSquareTileName;
using tile_scene::kSquareWallName;
using tile_scene::kTriangleTileName;
using tile_scene::kWaterTextureName;

// Every file, each made anew. The folder ends in "/" or is empty for the current one. On
// failure `failed` names the file that could not be written.
bool write_tile_media(const std::string& folder, std::string& failed);

}  // namespace tile_media
