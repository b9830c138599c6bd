// The whole way from load_sound to the device, read back from what SDL's disk driver wrote.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include <vexel/sound.h>

#include "sound/sound_effects.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

constexpr int32_t kRate = 44100;
constexpr int64_t kShortFrames = kRate / 10;

class SoundOutput : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("VEXEL_AUDIO");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", dir_.file("out.raw").c_str(), 1);
        start_sound();
        ASSERT_TRUE(sound_effects()->has_device());
        ASSERT_EQ(sound_effects()->device_format().rate, kRate);
    }

    // A mono sound of a constant 0.5 in the slot.
    void load_constant(int32_t slot, int64_t frames, int32_t buffers) {
        const std::string path = dir_.file("s" + std::to_string(slot) + ".wav");
        ASSERT_TRUE(testing::write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, kRate,
                                              testing::constant_samples(frames, 1, 0.5f)));
        load_sound(DynString(path.c_str()), slot, buffers);
    }

    static bool wait_until_quiet(int32_t channel) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (sound_playing(channel)) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Closes the device, so that everything mixed is in the file.
    testing::StereoOutput output() {
        stop_sound_device();
        return testing::read_disk_audio(dir_.file("out.raw"));
    }

    testing::ScopedTempDir dir_;
};

int64_t count_near(const std::vector<float>& samples, float value, float tolerance) {
    return std::count_if(samples.begin(), samples.end(),
                         [&](float sample) { return std::abs(sample - value) <= tolerance; });
}

std::vector<float> audible(const std::vector<float>& samples) {
    std::vector<float> result;
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(result),
                 [](float sample) { return sample != 0; });
    return result;
}

TEST_F(SoundOutput, APlayEndsByItselfAndVolumeAndPanScaleIt) {
    load_constant(0, kShortFrames, 1);
    for (const auto& [pan, volume] : {std::pair{0.0, 1.0}, {0.0, 0.5}, {1.0, 1.0}})
        ASSERT_TRUE(wait_until_quiet(play_sound(0, pan, volume)));
    const testing::StereoOutput out = output();
    // Left: full, then half; pan 1 left it silent. Right: full, half, full.
    ASSERT_EQ(audible(out.left).size(), static_cast<size_t>(2 * kShortFrames));
    EXPECT_EQ(count_near(out.left, 0.5f, 0), kShortFrames);
    EXPECT_EQ(count_near(out.left, 0.25f, 0.25f * 0.02f), kShortFrames);
    ASSERT_EQ(audible(out.right).size(), static_cast<size_t>(3 * kShortFrames));
    EXPECT_EQ(count_near(out.right, 0.5f, 0), 2 * kShortFrames);
}

TEST_F(SoundOutput, ASoundAtAnotherRateIsConvertedToTheDeviceRate) {
    const std::string path = dir_.file("half_rate.wav");
    ASSERT_TRUE(testing::write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, kRate / 2,
                                          testing::constant_samples(kShortFrames / 2, 1, 0.5f)));
    load_sound(DynString(path.c_str()), 0, 1);
    ASSERT_TRUE(wait_until_quiet(play_sound(0, 0, 1)));
    const std::vector<float> left = audible(output().left);
    EXPECT_NEAR(static_cast<double>(left.size()), kShortFrames, 64);
    EXPECT_NEAR(left[left.size() / 2], 0.5, 0.005);
}

TEST_F(SoundOutput, OverlappingVoicesSumAndTheSumIsClipped) {
    load_constant(0, kRate / 4, 3);
    // Two at 0.25 sum to 0.5; three at 0.4 would be 1.2. Neither level comes from fewer voices.
    play_sound(0, 0, 0.5);
    play_sound(0, 0, 0.5);
    ASSERT_TRUE(wait_until_quiet(0) && wait_until_quiet(1));
    for (int i = 0; i < 3; ++i)
        play_sound(0, 0, 0.8);
    for (int32_t channel = 0; channel < 3; ++channel)
        ASSERT_TRUE(wait_until_quiet(channel));
    const testing::StereoOutput out = output();
    EXPECT_GT(count_near(out.left, 0.5f, 0.01f), 0);
    EXPECT_EQ(*std::max_element(out.left.begin(), out.left.end()), 1.0f);
}

TEST_F(SoundOutput, StopSoundAndStopAllSoundsSilenceAtOnce) {
    load_constant(0, 2 * kRate, 1);
    load_constant(1, 2 * kRate, 2);
    const int32_t channel = play_sound(0, 0, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop_sound(channel);
    EXPECT_EQ(sound_playing(channel), 0);
    play_sound(1, 0, 1);
    play_sound(1, 0, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop_all_sounds();
    EXPECT_EQ(sound_playing(256) + sound_playing(257), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const testing::StereoOutput out = output();
    // Each played about 50 ms before it was stopped; two seconds would be 88200 frames.
    EXPECT_GT(audible(out.left).size(), 0u);
    EXPECT_LT(audible(out.left).size(), static_cast<size_t>(kRate / 2));
}

}  // namespace
}  // namespace vexel
