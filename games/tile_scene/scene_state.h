// The scene's per-frame state and the pure steps of its frame loop: frame counter and water walk,
// the orbit camera, the key tests and the limits. Nothing here touches the window or the clock.
#pragma once

#include <cstdint>
#include <functional>

#include <vexel/keys.h>

namespace tile_scene {

// The keys the scene tests each frame (apply_keys gives the order).
using vexel::kKeyA;
using vexel::kKeyD;
using vexel::kKeyDown;
using vexel::kKeyEquals;
using vexel::kKeyLeft;
using vexel::kKeyMinus;
using vexel::kKeyRight;
using vexel::kKeyS;
using vexel::kKeyUp;
using vexel::kKeyW;

inline constexpr double kWaterStep = 0.125;  // one cell of the 8 x 8 water texture
inline constexpr double kMinElevation = 30;
inline constexpr double kMaxElevation = 90;

struct SceneState {
    double cam_azimuth = 0;     // degrees around the target, kept in [0, 360]
    double cam_elevation = 90;  // degrees, clamped to [30, 90]
    double cam_distance = 3;    // no limit either way
    double target_x = 0.5;
    double target_y = 0.5;
    double frame_counter = 0;  // 1 ... 360 once running
    double water_u = 0;
    double water_v = 0;
};

// Counts the frame (wrapping to 1 after 360) and on every tenth frame moves the water offset one
// cell on, row after row. True when the offset moved.
bool advance_frame(SceneState& state);

struct CameraPose {
    double eye_x;
    double eye_y;
    double eye_z;
    double up_x;  // the point given as the camera's up: 100 above, behind the eye
    double up_y;
    double up_z;
    double target_x;
    double target_y;
    double target_z;
};

CameraPose camera_pose(const SceneState& state);

// Applies every held key in the scene's order; the target moves see the azimuth as the cursor
// keys left it.
void apply_keys(SceneState& state, const std::function<bool(int32_t code)>& key_down);

// Elevation clamped to [30, 90]; azimuth brought back by one turn when it left [0, 360].
void apply_limits(SceneState& state);

}  // namespace tile_scene
