#include <gtest/gtest.h>

#include <limits>

#include "sound/sound_gain.h"

namespace vexel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SoundGain, VolumeAndPanBecomeHundredthsOfADecibel) {
    const struct {
        double volume;
        int32_t centibels;
    } volumes[] = {{1, 0},          {0.5, -602}, {0.1, -2000}, {0.01, -4000}, {0, -10000},
                   {0.009, -10000}, {1.5, 0},    {-2, -10000}, {0.999, -8},   {kNaN, -10000}};
    for (const auto& c : volumes)
        EXPECT_EQ(volume_centibels(c.volume), c.centibels) << "volume " << c.volume;
    const struct {
        double pan;
        int32_t units;
    } pans[] = {{0, 0}, {1, 10000}, {-1, -10000}, {3, 10000}, {-0.25, -2500}, {kNaN, 0}};
    for (const auto& c : pans)
        EXPECT_EQ(pan_units(c.pan), c.units) << "pan " << c.pan;
    const StereoGain left_half = stereo_gain(-602, -602);
    EXPECT_NEAR(left_half.left, 0.5, 0.001);
    EXPECT_NEAR(left_half.right, 0.25, 0.001);
}

}  // namespace
}  // namespace vexel
