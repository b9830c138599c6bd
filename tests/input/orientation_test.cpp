#include <gtest/gtest.h>

#include "input/orientation.h"

namespace vexel {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;

TEST(Orientation, PositionsTurnWithTheScreen) {
    EXPECT_EQ(map_position({10, 20}, 0, kW, kH), (Point{10, 20}));
    EXPECT_EQ(map_position({10, 20}, 1, kW, kH), (Point{20, kW - 1 - 10}));
    EXPECT_EQ(map_position({10, 20}, 2, kW, kH), (Point{kW - 1 - 10, kH - 1 - 20}));
    EXPECT_EQ(map_position({10, 20}, 3, kW, kH), (Point{kH - 1 - 20, 10}));
    // Orientations outside 0..3 count as upright.
    EXPECT_EQ(map_position({10, 20}, 7, kW, kH), (Point{10, 20}));
}

TEST(Orientation, TheWindowCornersBecomeTheTurnedScreensCorners) {
    // Orientation 1: the script's screen is kH wide and kW high.
    EXPECT_EQ(map_position({kW - 1, 0}, 1, kW, kH), (Point{0, 0}));
    EXPECT_EQ(map_position({0, kH - 1}, 1, kW, kH), (Point{kH - 1, kW - 1}));
    EXPECT_EQ(map_position({kW - 1, kH - 1}, 2, kW, kH), (Point{0, 0}));
    EXPECT_EQ(map_position({0, kH - 1}, 3, kW, kH), (Point{0, 0}));
    EXPECT_EQ(map_position({kW - 1, 0}, 3, kW, kH), (Point{kH - 1, kW - 1}));
}

TEST(Orientation, UnmapUndoesMapInEveryOrientation) {
    for (int32_t turn = 0; turn < 4; ++turn) {
        for (const Point p : {Point{0, 0}, Point{639, 479}, Point{123, 45}, Point{600, 7}}) {
            EXPECT_EQ(unmap_position(map_position(p, turn, kW, kH), turn, kW, kH), p) << turn;
            EXPECT_EQ(map_position(unmap_position(p, turn, kW, kH), turn, kW, kH), p) << turn;
        }
    }
}

// A motion must report the way the mapped position moves, or a mouse moved right would read as
// moving left on a turned screen.
TEST(Orientation, DirectionsAgreeWithTheChangeOfPosition) {
    for (int32_t turn = 0; turn < 4; ++turn) {
        for (const Point d : {Point{1, 0}, Point{0, 1}, Point{-3, 5}, Point{7, -2}}) {
            const Point from = map_position({100, 100}, turn, kW, kH);
            const Point to = map_position({100 + d.x, 100 + d.y}, turn, kW, kH);
            EXPECT_EQ(map_direction(d, turn), (Point{to.x - from.x, to.y - from.y})) << turn;
        }
    }
    EXPECT_EQ(map_direction({1, 0}, 0), (Point{1, 0}));
    EXPECT_EQ(map_direction({1, 0}, 1), (Point{0, -1}));
    EXPECT_EQ(map_direction({1, 0}, 2), (Point{-1, 0}));
    EXPECT_EQ(map_direction({1, 0}, 3), (Point{0, 1}));
}

TEST(Orientation, TheScriptScreenExchangesSidesWhenTurnedAQuarter) {
    for (int32_t turn = 0; turn < 4; ++turn) {
        const ScreenFrame frame{turn, kW, kH};
        EXPECT_EQ(frame.script_width(), turn % 2 ? kH : kW);
        EXPECT_EQ(frame.script_height(), turn % 2 ? kW : kH);
    }
}

TEST(Orientation, NoWindowMeansAnEmptyScreen) {
    const ScreenFrame frame = screen_frame();
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.height, 0);
    EXPECT_EQ(frame.orientation, 0);
}

}  // namespace
}  // namespace vexel
