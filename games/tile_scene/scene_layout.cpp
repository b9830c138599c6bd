#include "scene_layout.h"

#include <cmath>

namespace tile_scene {

void set_project_settings(vexel::ProjectSettings& settings) {
    settings.width = 640;
    settings.height = 480;
    settings.fullscreen = 0;
    settings.debug_mode = 0;
    settings.exclusive_mouse = 0;
    settings.multisample = 0;
    settings.frame_rate = 60;
    settings.project_name = "quorn.triangle.wall.VXM";
}

const std::array<SceneDraw, 6>& scene_draws() {
    static const double root2 = std::sqrt(2.0);
    static const double root3 = std::sqrt(3.0);
    // Colours R + G * 256 + B * 65536. The square wall is drawn before blending goes on, the
    // first square tile blended additively at alpha 0.7; only the triangle tile has the water.
    static const std::array<SceneDraw, 6> draws{{
        {1, 0, 0, 65535, kSquareWallObject, 0.7, std::nullopt},
        {0, 1, 90, 8454143, kSquareTileObject, 0.0, std::nullopt},
        {1, 1, 0, 33023, kSquareTileObject, std::nullopt, std::nullopt},
        {1, 2 + root3 / 5, 90, 16744448, kHexagonTileObject, std::nullopt, kWaterSprite},
        {0, 2 - root2 / 6, 0, 16777215, kTriangleTileObject, std::nullopt, -1},
        {-0.5, 2 - root2 / 6 + root3 / 6, 180, 16512, kWallPieceObject, std::nullopt, std::nullopt},
    }};
    return draws;
}

}  // namespace tile_scene
