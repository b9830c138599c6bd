// The tile scene: four tiles and a generated wall piece under one coloured spot light, water
// moving over the triangle tile, and a camera that orbits its target under the keyboard.
#include <cmath>

#include <vexel/vexel.h>

#include "scene_layout.h"
#include "scene_state.h"
#include "wall_piece.h"

namespace {

constexpr int32_t kWhite = 16777215;

void load_media() {
    vexel::load_sprite(tile_scene::kWaterTextureName, tile_scene::kWaterSprite);
    for (const tile_scene::ObjectFile& file : tile_scene::kObjectFiles)
        vexel::load_object(file.name, file.slot);
}

void go_full_screen() {
    double width = 0;
    double height = 0;
    vexel::get_desktop_size(width, height);
    vexel::set_screen(static_cast<int32_t>(std::trunc(width)),
                      static_cast<int32_t>(std::trunc(height)), 1);
}

// Vertex by vertex into object slot 0, each strip ended by a new group, then written out.
void build_wall_piece(const tile_scene::WallConstants& wall) {
    vexel::object_start(tile_scene::kWallPieceObject);
    for (const tile_scene::WallStrip& strip : tile_scene::wall_piece_strips(wall)) {
        for (const tile_scene::WallVertex& v : strip)
            vexel::object_add_vertex(v.x, v.y, v.z, 0, 0, kWhite);
        vexel::object_new_group();
    }
    vexel::object_end();
    vexel::save_object(tile_scene::kWallPieceName, tile_scene::kWallPieceObject);
}

void place_camera(const tile_scene::SceneState& state) {
    const tile_scene::CameraPose pose = tile_scene::camera_pose(state);
    vexel::set_camera_up(pose.up_x, pose.up_y, pose.up_z);
    vexel::set_camera(pose.eye_x, pose.eye_y, pose.eye_z, pose.target_x, pose.target_y,
                      pose.target_z);
}

void draw_scene() {
    const tile_scene::SpotLight& light = tile_scene::kSpotLight;
    for (const tile_scene::SceneDraw& draw : tile_scene::scene_draws()) {
        vexel::set_light(light.number, draw.light_colour, light.x, light.y, light.z, light.dx,
                         light.dy, light.dz, light.cone);
        vexel::translate(draw.x, draw.y, 0);
        if (draw.turn != 0) vexel::rotate(draw.turn, 0, 0, 1);
        vexel::draw_object(draw.object, 0);
        if (draw.alpha_after) vexel::set_alpha_mode(*draw.alpha_after);
        if (draw.texture_after) vexel::set_textures(*draw.texture_after, -1);
    }
}

void run_scene() {
    load_media();
    const tile_scene::WallConstants wall = tile_scene::wall_constants();
    go_full_screen();
    vexel::set_auto_normals(tile_scene::kSmoothedNormals);
    build_wall_piece(wall);

    tile_scene::SceneState state;
    const tile_scene::View& view = tile_scene::kView;
    for (;;) {
        tile_scene::advance_frame(state);
        vexel::begin_3d(view.near_plane, view.far_plane, view.field_of_view);
        place_camera(state);
        vexel::set_texture_offset(state.water_u, state.water_v);
        vexel::set_textures(-1, -1);
        draw_scene();
        tile_scene::apply_keys(state, [](int32_t code) { return vexel::key_state(code) != 0; });
        tile_scene::apply_limits(state);
        vexel::show_screen();
    }
}

}  // namespace

VEXEL_GAME(tile_scene::set_project_settings, nullptr, run_scene)
