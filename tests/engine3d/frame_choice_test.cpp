#include "engine3d/frame_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vexel::engine3d {
namespace {

// The frame position a choice draws: b + (a - b) * weight.
double position(const FrameChoice& c) {
    return c.b + (c.a - c.b) * double(c.weight);
}

TEST(FrameChoiceTest, WithoutLoopRunsFromAToB) {
    const FrameChoice c = choose_frames(2, 4, 0.25, false, 10);
    EXPECT_EQ(c.a, 4);
    EXPECT_EQ(c.b, 2);
    EXPECT_FLOAT_EQ(c.weight, 0.25f);
    EXPECT_DOUBLE_EQ(position(c), 2.5);
}

TEST(FrameChoiceTest, WeightZeroIsTheFirstFrameGiven) {
    const FrameChoice c = choose_frames(2, 4, 0, false, 10);
    EXPECT_EQ(c.a, 2);
    EXPECT_EQ(c.b, 2);
    EXPECT_EQ(c.weight, 0);
}

TEST(FrameChoiceTest, LoopFoldsTIntoOneTurn) {
    const FrameChoice wrapped = choose_frames(0, 4, 1.25, true, 10);
    const FrameChoice plain = choose_frames(0, 4, 0.25, true, 10);
    EXPECT_EQ(wrapped.a, plain.a);
    EXPECT_EQ(wrapped.b, plain.b);
    EXPECT_FLOAT_EQ(wrapped.weight, plain.weight);
    EXPECT_DOUBLE_EQ(position(wrapped), 1.0);
    EXPECT_NEAR(position(choose_frames(0, 4, -0.3, true, 10)), 1.2, 1e-6);
}

TEST(FrameChoiceTest, LoopUpwardsPicksTheNeighbours) {
    const FrameChoice c = choose_frames(1, 5, 0.3, true, 10);  // position 2.2
    EXPECT_EQ(c.a, 2);
    EXPECT_EQ(c.b, 3);
    EXPECT_NEAR(c.weight, 0.8f, 1e-6f);
    EXPECT_NEAR(position(c), 2.2, 1e-6);
}

TEST(FrameChoiceTest, LoopDownwardsPicksTheNeighbours) {
    const FrameChoice c = choose_frames(5, 1, 0.3, true, 10);  // position 3.8
    EXPECT_EQ(c.a, 4);
    EXPECT_EQ(c.b, 3);
    EXPECT_NEAR(c.weight, 0.8f, 1e-6f);
    EXPECT_NEAR(position(c), 3.8, 1e-6);
}

TEST(FrameChoiceTest, LoopOnOneFrameStays) {
    const FrameChoice c = choose_frames(3, 3, 0.7, true, 10);
    EXPECT_EQ(c.a, 3);
    EXPECT_EQ(c.b, 3);
    EXPECT_EQ(c.weight, 0);
}

TEST(FrameChoiceTest, IndicesAreClampedToTheFrames) {
    const FrameChoice beyond = choose_frames(99, 99, 0, false, 5);
    EXPECT_EQ(beyond.a, 4);
    EXPECT_EQ(beyond.b, 4);
    const FrameChoice below = choose_frames(-3, 8, 0.5, false, 5);
    EXPECT_EQ(below.a, 4);
    EXPECT_EQ(below.b, 0);
    // At the end of a loop the next frame does not exist: the last is used for both.
    const FrameChoice end = choose_frames(0, 4, 1, true, 5);
    EXPECT_EQ(end.a, 4);
    EXPECT_EQ(end.b, 4);
}

TEST(FrameChoiceTest, HostileNumbersStayInRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double t : {nan, inf, -inf, 1e300}) {
        for (const bool loop : {false, true}) {
            const FrameChoice c = choose_frames(INT32_MIN, INT32_MAX, t, loop, 3);
            EXPECT_GE(c.a, 0);
            EXPECT_LE(c.a, 2);
            EXPECT_GE(c.b, 0);
            EXPECT_LE(c.b, 2);
            EXPECT_TRUE(std::isfinite(c.weight));
        }
    }
}

}  // namespace
}  // namespace vexel::engine3d
