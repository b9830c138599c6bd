#include "sound/sound_mixer.h"

#include <algorithm>

namespace vexel {

namespace {

void add_voice(const SoundVoice& voice, float* stereo, int32_t frames) {
    const float left = voice.gain.left;
    const float right = voice.gain.right;
    if (voice.data->channels == 1) {
        const float* in = voice.data->samples.data() + voice.position;
        for (int32_t i = 0; i < frames; ++i) {
            stereo[2 * i] += in[i] * left;
            stereo[2 * i + 1] += in[i] * right;
        }
        return;
    }
    const float* in = voice.data->samples.data() + 2 * voice.position;
    for (int32_t i = 0; i < frames; ++i) {
        stereo[2 * i] += in[2 * i] * left;
        stereo[2 * i + 1] += in[2 * i + 1] * right;
    }
}

}  // namespace

SoundMixer::SoundMixer(size_t max_voices) {
    active_.reserve(max_voices);
}

void SoundMixer::start(SoundVoice& voice) {
    if (voice.playing || !voice.data || active_.size() == active_.capacity()) return;
    voice.playing = true;
    voice.active_index = static_cast<int32_t>(active_.size());
    active_.push_back(&voice);
}

void SoundMixer::stop(SoundVoice& voice) {
    if (voice.playing) remove(voice);
    voice.position = 0;
}

void SoundMixer::remove(SoundVoice& voice) {
    SoundVoice* last = active_.back();
    active_[static_cast<size_t>(voice.active_index)] = last;
    last->active_index = voice.active_index;
    active_.pop_back();
    voice.active_index = -1;
    voice.playing = false;
}

void SoundMixer::mix(float* stereo, int32_t frames) {
    std::fill(stereo, stereo + 2 * static_cast<ptrdiff_t>(frames), 0.0f);
    // From the back, so that a voice that ends is replaced by one already mixed.
    for (size_t i = active_.size(); i-- > 0;) {
        SoundVoice& voice = *active_[i];
        const int64_t length = voice.data->frames();
        const auto count = static_cast<int32_t>(std::min<int64_t>(frames, length - voice.position));
        add_voice(voice, stereo, count);
        voice.position += count;
        if (voice.position >= length) stop(voice);
    }
    for (int32_t i = 0; i < 2 * frames; ++i)
        stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
}

}  // namespace vexel
