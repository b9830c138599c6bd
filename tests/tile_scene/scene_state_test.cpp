#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "scene_state.h"

namespace tile_scene {
namespace {

constexpr double kTolerance = 1e-9;

// Holds exactly the given keys.
auto holding(std::set<int32_t> keys) {
    return [keys = std::move(keys)](int32_t code) { return keys.count(code) != 0; };
}

SceneState after_keys(std::set<int32_t> keys, SceneState state = {}) {
    apply_keys(state, holding(std::move(keys)));
    return state;
}

TEST(SceneStateTest, StartsStraightAboveTheTargetAtHeightThree) {
    const SceneState state;
    const CameraPose pose = camera_pose(state);
    EXPECT_NEAR(pose.eye_x, 0.5, kTolerance);
    EXPECT_NEAR(pose.eye_y, 0.5, kTolerance);
    EXPECT_NEAR(pose.eye_z, 3, kTolerance);
    EXPECT_DOUBLE_EQ(pose.target_x, 0.5);
    EXPECT_DOUBLE_EQ(pose.target_y, 0.5);
    EXPECT_DOUBLE_EQ(pose.target_z, 0);
    // Looking straight down, "up" is the point far behind the eye on the azimuth's side.
    EXPECT_NEAR(pose.up_x, 0.5 - 100, kTolerance);
    EXPECT_NEAR(pose.up_y, 0.5, kTolerance);
    EXPECT_DOUBLE_EQ(pose.up_z, 100);
}

TEST(SceneStateTest, CameraOrbitsOnTheAzimuthAndElevation) {
    SceneState state;
    state.cam_elevation = 30;
    state.cam_azimuth = 90;
    state.cam_distance = 2;
    state.target_x = 1;
    state.target_y = -1;
    const CameraPose pose = camera_pose(state);
    EXPECT_NEAR(pose.eye_x, 1, kTolerance);
    EXPECT_NEAR(pose.eye_y, -1 + 2 * std::sqrt(3.0) / 2, kTolerance);
    EXPECT_NEAR(pose.eye_z, 1, kTolerance);
    EXPECT_NEAR(pose.up_x, 1, kTolerance);
    EXPECT_NEAR(pose.up_y, pose.eye_y - 100, kTolerance);
    EXPECT_DOUBLE_EQ(pose.target_x, 1);
    EXPECT_DOUBLE_EQ(pose.target_y, -1);
}

TEST(SceneStateTest, FrameCounterWrapsToOneAfter360) {
    SceneState state;
    for (int frame = 1; frame <= 360; ++frame) {
        advance_frame(state);
        ASSERT_DOUBLE_EQ(state.frame_counter, frame);
    }
    advance_frame(state);
    EXPECT_DOUBLE_EQ(state.frame_counter, 1);
}

TEST(SceneStateTest, WaterMovesOnEveryTenthFrameOnly) {
    SceneState state;
    for (int frame = 1; frame <= 1000; ++frame) {
        const double u = state.water_u;
        const double v = state.water_v;
        const bool moved = advance_frame(state);
        ASSERT_EQ(moved, frame % 10 == 0) << "frame " << frame;
        ASSERT_EQ(moved, u != state.water_u || v != state.water_v) << "frame " << frame;
    }
}

TEST(SceneStateTest, WaterWalksTheCellsRowByRowAndReturnsAfter64Steps) {
    SceneState state;
    for (int step = 1; step <= 64; ++step) {
        for (int i = 0; i < 10; ++i)
            advance_frame(state);
        EXPECT_DOUBLE_EQ(state.water_u, (step % 8) * 0.125) << "step " << step;
        EXPECT_DOUBLE_EQ(state.water_v, (step / 8 % 8) * 0.125) << "step " << step;
        if (step < 64) {
            EXPECT_FALSE(state.water_u == 0 && state.water_v == 0) << "step " << step;
        }
    }
    EXPECT_DOUBLE_EQ(state.water_u, 0);
    EXPECT_DOUBLE_EQ(state.water_v, 0);
}

TEST(SceneStateTest, WaterFirstMovesAtFrameTen) {
    SceneState state;
    for (int frame = 1; frame < 10; ++frame)
        advance_frame(state);
    EXPECT_DOUBLE_EQ(state.water_u, 0);
    advance_frame(state);
    EXPECT_DOUBLE_EQ(state.water_u, 0.125);
    EXPECT_DOUBLE_EQ(state.water_v, 0);
}

TEST(SceneKeysTest, NoKeyChangesNothing) {
    const SceneState state = after_keys({});
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 0);
    EXPECT_DOUBLE_EQ(state.cam_elevation, 90);
    EXPECT_DOUBLE_EQ(state.cam_distance, 3);
    EXPECT_DOUBLE_EQ(state.target_x, 0.5);
    EXPECT_DOUBLE_EQ(state.target_y, 0.5);
}

TEST(SceneKeysTest, CursorKeysTurnTheOrbit) {
    EXPECT_DOUBLE_EQ(after_keys({kKeyUp}).cam_elevation, 91);  // the limit comes after the keys
    EXPECT_DOUBLE_EQ(after_keys({kKeyDown}).cam_elevation, 89);
    EXPECT_DOUBLE_EQ(after_keys({kKeyLeft}).cam_azimuth, 1);
    EXPECT_DOUBLE_EQ(after_keys({kKeyRight}).cam_azimuth, -1);
    EXPECT_DOUBLE_EQ(after_keys({kKeyUp, kKeyDown}).cam_elevation, 90);
    EXPECT_DOUBLE_EQ(after_keys({kKeyLeft, kKeyRight}).cam_azimuth, 0);
}

TEST(SceneKeysTest, MinusAndEqualsChangeTheDistance) {
    EXPECT_DOUBLE_EQ(after_keys({kKeyMinus}).cam_distance, 3.1);
    EXPECT_DOUBLE_EQ(after_keys({kKeyEquals}).cam_distance, 2.9);
    EXPECT_DOUBLE_EQ(after_keys({kKeyMinus, kKeyEquals}).cam_distance, 3);
}

TEST(SceneKeysTest, TargetMovesRelativeToTheAzimuth) {
    const SceneState w = after_keys({kKeyW});
    EXPECT_NEAR(w.target_x, 0.4, kTolerance);  // away from the camera, which sits towards +x
    EXPECT_NEAR(w.target_y, 0.5, kTolerance);
    const SceneState a = after_keys({kKeyA});
    EXPECT_NEAR(a.target_x, 0.5, kTolerance);
    EXPECT_NEAR(a.target_y, 0.4, kTolerance);
    const SceneState s = after_keys({kKeyS});
    EXPECT_NEAR(s.target_x, 0.6, kTolerance);
    EXPECT_NEAR(s.target_y, 0.5, kTolerance);
    const SceneState d = after_keys({kKeyD});
    EXPECT_NEAR(d.target_x, 0.5, kTolerance);
    EXPECT_NEAR(d.target_y, 0.6, kTolerance);

    SceneState turned;
    turned.cam_azimuth = 90;
    const SceneState w90 = after_keys({kKeyW}, turned);
    EXPECT_NEAR(w90.target_x, 0.5, kTolerance);
    EXPECT_NEAR(w90.target_y, 0.4, kTolerance);
}

TEST(SceneKeysTest, TargetMovesSeeTheAzimuthTheCursorKeysLeft) {
    SceneState state;
    state.cam_azimuth = 89;
    state = after_keys({kKeyLeft, kKeyS}, state);
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 90);
    EXPECT_NEAR(state.target_x, 0.5, kTolerance);
    EXPECT_NEAR(state.target_y, 0.6, kTolerance);
}

TEST(SceneKeysTest, AllFourMovesInOneFrameCancel) {
    const SceneState state = after_keys({kKeyW, kKeyA, kKeyS, kKeyD});
    EXPECT_NEAR(state.target_x, 0.5, kTolerance);
    EXPECT_NEAR(state.target_y, 0.5, kTolerance);
}

TEST(SceneLimitsTest, ElevationIsClampedAndAzimuthTurnedBack) {
    SceneState state;
    state.cam_elevation = 91;
    state.cam_azimuth = 361;
    apply_limits(state);
    EXPECT_DOUBLE_EQ(state.cam_elevation, 90);
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 1);

    state.cam_elevation = 29;
    state.cam_azimuth = -1;
    apply_limits(state);
    EXPECT_DOUBLE_EQ(state.cam_elevation, 30);
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 359);

    state.cam_elevation = 30;
    state.cam_azimuth = 360;
    apply_limits(state);
    EXPECT_DOUBLE_EQ(state.cam_elevation, 30);
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 360);  // both ends of [0, 360] are kept
    state.cam_azimuth = 0;
    apply_limits(state);
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 0);
}

TEST(SceneLimitsTest, HoldingCursorDownStopsAtThirtyDegrees) {
    SceneState state;
    for (int frame = 1; frame <= 59; ++frame) {
        apply_keys(state, holding({kKeyDown}));
        apply_limits(state);
    }
    EXPECT_DOUBLE_EQ(state.cam_elevation, 31);
    for (int frame = 0; frame < 10; ++frame) {
        apply_keys(state, holding({kKeyDown}));
        apply_limits(state);
    }
    EXPECT_DOUBLE_EQ(state.cam_elevation, 30);
    const CameraPose pose = camera_pose(state);
    EXPECT_NEAR(pose.eye_x, 0.5 + 3 * std::sqrt(3.0) / 2, kTolerance);
    EXPECT_NEAR(pose.eye_z, 1.5, kTolerance);
}

TEST(SceneLimitsTest, CursorUpNeverLiftsPastNinety) {
    SceneState state;
    for (int frame = 0; frame < 100; ++frame) {
        apply_keys(state, holding({kKeyUp}));
        apply_limits(state);
        ASSERT_DOUBLE_EQ(state.cam_elevation, 90);
    }
}

TEST(SceneLimitsTest, DistanceHasNoLimitAndCanPassThroughTheTarget) {
    SceneState state;
    for (int frame = 0; frame < 31; ++frame) {
        apply_keys(state, holding({kKeyEquals}));
        apply_limits(state);
    }
    EXPECT_NEAR(state.cam_distance, -0.1, 1e-9);
    EXPECT_LT(camera_pose(state).eye_z, 0);  // the eye is now below the target

    for (int frame = 0; frame < 1000; ++frame) {
        apply_keys(state, holding({kKeyMinus}));
        apply_limits(state);
    }
    EXPECT_NEAR(state.cam_distance, 99.9, 1e-6);
}

TEST(SceneLimitsTest, TurningLeftForAFullCircleWrapsOnce) {
    SceneState state;
    for (int frame = 0; frame < 361; ++frame) {
        apply_keys(state, holding({kKeyLeft}));
        apply_limits(state);
        ASSERT_GE(state.cam_azimuth, 0);
        ASSERT_LE(state.cam_azimuth, 360);
    }
    EXPECT_DOUBLE_EQ(state.cam_azimuth, 1);
}

}  // namespace
}  // namespace tile_scene
