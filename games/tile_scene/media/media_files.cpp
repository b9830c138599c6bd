#include "media_files.h"

#include "image/image_encoders.h"
#include "mesh/mesh_file.h"
#include "tile_meshes.h"
#include "water_texture.h"

namespace tile_media {

namespace {

bool write_mesh(const std::string& path, const vexel::MeshObjectX& mesh) {
    return vexel::write_mesh_file(path.c_str(), mesh);
}

}  // namespace

bool write_tile_media(const std::string& folder, std::string& failed) {
    vexel::ImageBuffer water;
    const std::string water_path = folder + kWaterTextureName;
    if (!make_water_texture(water) || !vexel::encode_bmp(water_path.c_str(), water)) {
        failed = water_path;
        return false;
    }
    const struct {
        const char* name;
        vexel::MeshObjectX (*make)();
    } meshes[] = {{kSquareTileName, make_square_tile},
                  {kTriangleTileName, make_triangle_tile},
                  {kHexagonTileName, make_hexagon_tile},
                  {kSquareWallName, make_square_wall}};
    for (const auto& mesh : meshes) {
        const std::string path = folder + mesh.name;
        if (!write_mesh(path, mesh.make())) {
            failed = path;
            return false;
        }
    }
    return true;
}

}  // namespace tile_media
