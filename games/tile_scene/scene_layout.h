// What the scene loads and draws: media names and slots, the project settings, the view, the
// spot light and the table of its six draws.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <vexel/app.h>

namespace tile_scene {

inline constexpr const char* kWaterTextureName = "WaterTexture.bmp";
inline constexpr const char* kSquareTileName = "square-tile.vxm";
inline constexpr const char* kTriangleTileName = "triangle-tile.vxm";
inline constexpr const char* kHexagonTileName = "hexagon-tile.vxm";
inline constexpr const char* kSquareWallName = "square-wall.vxm";
inline constexpr const char* kWallPieceName = "Triangle-Wall.vxm";

inline constexpr int32_t kWaterSprite = 0;
inline constexpr int32_t kWallPieceObject = 0;  // built at start
inline constexpr int32_t kSquareTileObject = 1;
inline constexpr int32_t kTriangleTileObject = 2;
inline constexpr int32_t kHexagonTileObject = 3;
inline constexpr int32_t kSquareWallObject = 4;

// The meshes loaded at start, in loading order (after the water texture into its sprite).
struct ObjectFile {
    const char* name;
    int32_t slot;
};
inline constexpr std::array<ObjectFile, 4> kObjectFiles{{{kSquareTileName, kSquareTileObject},
                                                         {kTriangleTileName, kTriangleTileObject},
                                                         {kHexagonTileName, kHexagonTileObject},
                                                         {kSquareWallName, kSquareWallObject}}};

inline constexpr int32_t kSmoothedNormals = 2;  // for the built wall piece

// 640 x 480 windowed at 60 frames per second, no multisampling, shared mouse, debug off, caption
// "quorn.triangle.wall.VXM". The scene goes full screen at the desktop size once running.
void set_project_settings(vexel::ProjectSettings& settings);

struct View {
    double near_plane;
    double far_plane;
    double field_of_view;  // degrees
};
inline constexpr View kView{1, 1000, 45};

// Light 0 at (10, 20, 30) shining along (-1, -2, -3) in a 45 degree cone; only its colour changes
// from draw to draw.
struct SpotLight {
    int32_t number;
    double x, y, z;
    double dx, dy, dz;
    double cone;
};
inline constexpr SpotLight kSpotLight{0, 10, 20, 30, -1, -2, -3, 45};

// One draw: the light's colour, translate(x, y, 0), a turn about z when not 0, draw_object of
// the slot, then the state changes the next draws rely on.
struct SceneDraw {
    double x;
    double y;
    double turn;  // degrees about (0, 0, 1)
    int32_t light_colour;
    int32_t object;
    std::optional<double> alpha_after;     // set_alpha_mode
    std::optional<int32_t> texture_after;  // set_textures(texture, -1)
};

const std::array<SceneDraw, 6>& scene_draws();

}  // namespace tile_scene
