#include <gtest/gtest.h>

#include <vector>

#include "sound/sound_mixer.h"

namespace vexel {
namespace {

SoundData sound_of(std::vector<float> samples, int32_t channels) {
    SoundData data;
    data.samples = std::move(samples);
    data.channels = channels;
    return data;
}

SoundVoice voice_of(const SoundData& data, StereoGain gain = {}) {
    SoundVoice voice;
    voice.data = &data;
    voice.gain = gain;
    return voice;
}

std::vector<float> mix_frames(SoundMixer& mixer, int32_t frames) {
    std::vector<float> out(static_cast<size_t>(2 * frames), 99.0f);
    mixer.mix(out.data(), frames);
    return out;
}

TEST(SoundMixer, SumsVoicesWithTheirGainsAndClipsTheSum) {
    const SoundData mono = sound_of({0.5f, 0.5f, 0.5f, 0.5f}, 1);
    const SoundData stereo =
        sound_of({0.25f, -0.5f, 0.25f, -0.5f, 0.75f, -0.75f, 0.75f, -0.75f}, 2);
    SoundMixer mixer(8);
    SoundVoice a = voice_of(mono, {1.0f, 0.5f});
    SoundVoice b = voice_of(stereo);
    mixer.start(a);
    mixer.start(b);
    EXPECT_EQ(mix_frames(mixer, 4),
              (std::vector<float>{0.75f, -0.25f, 0.75f, -0.25f, 1.0f, -0.5f, 1.0f, -0.5f}));
}

TEST(SoundMixer, AVoiceStopsAndRewindsAtItsEndAndTheRestIsSilence) {
    const SoundData mono = sound_of({0.1f, 0.2f, 0.3f}, 1);
    SoundMixer mixer(4);
    SoundVoice voice = voice_of(mono);
    mixer.start(voice);
    EXPECT_EQ(mix_frames(mixer, 2), (std::vector<float>{0.1f, 0.1f, 0.2f, 0.2f}));
    EXPECT_TRUE(voice.playing);
    EXPECT_EQ(voice.position, 2);
    EXPECT_EQ(mix_frames(mixer, 2), (std::vector<float>{0.3f, 0.3f, 0.0f, 0.0f}));
    EXPECT_FALSE(voice.playing);
    EXPECT_EQ(voice.position, 0);
    EXPECT_EQ(mixer.playing_count(), 0u);
}

TEST(SoundMixer, StopRemovesOnlyThatVoice) {
    const SoundData one = sound_of({0.25f, 0.25f}, 1);
    SoundMixer mixer(4);
    SoundVoice voices[3] = {voice_of(one), voice_of(one), voice_of(one)};
    for (SoundVoice& voice : voices)
        mixer.start(voice);
    mixer.start(voices[1]);  // playing already: not added twice
    mixer.mix(std::vector<float>(2).data(), 1);
    mixer.stop(voices[0]);
    EXPECT_EQ(mixer.playing_count(), 2u);
    EXPECT_EQ(voices[0].position, 0);
    EXPECT_EQ(mix_frames(mixer, 1), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(mixer.playing_count(), 0u);
}

}  // namespace
}  // namespace vexel
