#include "scene_state.h"

#include <cmath>

#include <vexel/math.h>

namespace tile_scene {

namespace {

constexpr double kTargetStep = 0.1;
constexpr double kDistanceStep = 0.1;

void move_target(SceneState& state, double direction) {
    state.target_x += kTargetStep * vexel::cos_deg(direction);
    state.target_y += kTargetStep * vexel::sin_deg(direction);
}

}  // namespace

bool advance_frame(SceneState& state) {
    state.frame_counter += 1;
    if (state.frame_counter > 360) state.frame_counter -= 360;
    if (vexel::imod(static_cast<int32_t>(std::trunc(state.frame_counter)), 10) != 0) return false;
    state.water_u += kWaterStep;
    if (state.water_u >= 1) {
        state.water_u = 0;
        state.water_v += kWaterStep;
    }
    if (state.water_v >= 1) state.water_v = 0;
    return true;
}

CameraPose camera_pose(const SceneState& state) {
    const double ground = state.cam_distance * vexel::cos_deg(state.cam_elevation);
    const double cos_azimuth = vexel::cos_deg(state.cam_azimuth);
    const double sin_azimuth = vexel::sin_deg(state.cam_azimuth);
    CameraPose pose{};
    pose.eye_x = state.target_x + ground * cos_azimuth;
    pose.eye_y = state.target_y + ground * sin_azimuth;
    pose.eye_z = state.cam_distance * vexel::sin_deg(state.cam_elevation);
    pose.up_x = pose.eye_x - 100 * cos_azimuth;
    pose.up_y = pose.eye_y - 100 * sin_azimuth;
    pose.up_z = 100;
    pose.target_x = state.target_x;
    pose.target_y = state.target_y;
    pose.target_z = 0;
    return pose;
}

void apply_keys(SceneState& state, const std::function<bool(int32_t code)>& key_down) {
    if (key_down(kKeyUp)) state.cam_elevation += 1;
    if (key_down(kKeyLeft)) state.cam_azimuth += 1;
    if (key_down(kKeyRight)) state.cam_azimuth -= 1;
    if (key_down(kKeyDown)) state.cam_elevation -= 1;
    if (key_down(kKeyMinus)) state.cam_distance += kDistanceStep;
    if (key_down(kKeyEquals)) state.cam_distance -= kDistanceStep;
    if (key_down(kKeyW)) move_target(state, state.cam_azimuth - 180);
    if (key_down(kKeyA)) move_target(state, state.cam_azimuth - 90);
    if (key_down(kKeyS)) move_target(state, state.cam_azimuth);
    if (key_down(kKeyD)) move_target(state, state.cam_azimuth + 90);
}

void apply_limits(SceneState& state) {
    if (state.cam_elevation > kMaxElevation) state.cam_elevation = kMaxElevation;
    if (state.cam_elevation < kMinElevation) state.cam_elevation = kMinElevation;
    if (state.cam_azimuth > 360) state.cam_azimuth -= 360;
    if (state.cam_azimuth < 0) state.cam_azimuth += 360;
}

}  // namespace tile_scene
