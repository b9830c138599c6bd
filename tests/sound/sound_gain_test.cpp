#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sound/sound_gain.h"

namespace vexel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SoundGain, VolumeBecomesHundredthsOfADecibel) {
    const struct {
        double volume;
        int32_t centibels;
    } cases[] = {{1, 0},          {0.5, -602}, {0.1, -2000}, {0.01, -4000}, {0, -10000},
                 {0.009, -10000}, {1.5, 0},    {-2, -10000}, {0.999, -8},   {kNaN, -10000}};
    for (const auto& c : cases)
        EXPECT_EQ(volume_centibels(c.volume), c.centibels) << "volume " << c.volume;
}

TEST(SoundGain, PanIsClampedAndScaled) {
    const struct {
        double pan;
        int32_t units;
    } cases[] = {{0, 0}, {1, 10000}, {-1, -10000}, {3, 10000}, {-0.25, -2500}, {kNaN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(pan_units(c.pan), c.units) << "pan " << c.pan;
}

TEST(SoundGain, HalfVolumeIsHalfTheAmplitudeAndTheFloorIsSilence) {
    EXPECT_NEAR(centibel_amplitude(volume_centibels(0.5)), 0.5, 0.5 * 0.002);
    EXPECT_NEAR(centibel_amplitude(-2000), 0.1, 1e-6);
    EXPECT_EQ(centibel_amplitude(0), 1.0f);
    EXPECT_EQ(centibel_amplitude(kSilentCentibels), 0.0f);
}

TEST(SoundGain, PanAttenuatesOnlyTheFarSide) {
    const StereoGain right = stereo_gain(0, kFullPan);
    EXPECT_EQ(right.left, 0.0f);
    EXPECT_EQ(right.right, 1.0f);
    const StereoGain left_half = stereo_gain(-602, -602);
    EXPECT_NEAR(left_half.left, 0.5, 0.001);
    EXPECT_NEAR(left_half.right, 0.25, 0.001);
    const StereoGain centre = stereo_gain(-2000, 0);
    EXPECT_EQ(centre.left, centre.right);
}

}  // namespace
}  // namespace vexel
