#include "sound/sound_effects.h"

#include <algorithm>
#include <utility>

namespace vexel {

namespace {

std::unique_ptr<SoundEffects> g_sound_effects;

}  // namespace

SoundEffects::SoundEffects()
    : slots_(kSoundSlots), mixer_(static_cast<size_t>(kSoundSlots) * kMaxSoundBuffers) {}

SoundEffects::~SoundEffects() {
    stop_all();
    slots_.clear();
    if (device_open_) platform::audio_device_close();
}

bool SoundEffects::start() {
    if (!device_open_) device_open_ = platform::audio_device_open(mix, this, &format_);
    return device_open_;
}

void SoundEffects::mix(void* sound_effects, float* stereo, int32_t frames) {
    static_cast<SoundEffects*>(sound_effects)->mixer_.mix(stereo, frames);
}

void SoundEffects::empty_slot(int32_t n) {
    SoundSlot& slot = slots_[static_cast<size_t>(n)];
    {
        const platform::AudioDeviceLock lock;
        for (SoundVoice& voice : slot.buffers) {
            mixer_.stop(voice);
            voice.data = nullptr;
        }
    }
    // Freed outside the lock: the device never waits for memory being released.
    slot.data.reset();
    slot.buffer_count = 0;
    slot.next_buffer = 0;
    slot.file_name.clear();
}

std::shared_ptr<const SoundData> SoundEffects::fit_to_device(DecodedSound&& sound) const {
    auto data = std::make_shared<SoundData>();
    data->channels = sound.channels;
    if (sound.sample_rate == format_.rate) {
        data->samples = std::move(sound.samples);
        return data;
    }
    const int64_t max_frames = (kMaxSoundSeconds + 1) * format_.rate;
    if (!platform::convert_audio_rate(sound.samples, sound.channels, sound.sample_rate,
                                      format_.rate, max_frames, data->samples) ||
        data->samples.empty())
        return nullptr;
    return data;
}

void SoundEffects::fill_slot(int32_t n, std::shared_ptr<const SoundData> data, int32_t buffer_count,
                             std::string file_name) {
    empty_slot(n);
    SoundSlot& slot = slots_[static_cast<size_t>(n)];
    slot.data = std::move(data);
    slot.file_name = std::move(file_name);
    slot.buffer_count = std::clamp(buffer_count, 1, kMaxSoundBuffers);
    const platform::AudioDeviceLock lock;
    for (SoundVoice& voice : slot.buffers)
        voice.data = slot.data.get();
}

int32_t SoundEffects::play(int32_t n, StereoGain gain) {
    SoundSlot& slot = slots_[static_cast<size_t>(n)];
    if (!device_open_ || slot.buffer_count == 0) return -1;
    const platform::AudioDeviceLock lock;
    int32_t index = slot.next_buffer;
    if (slot.buffers[static_cast<size_t>(index)].playing) {
        if (slot.buffer_count == 1) return -1;
        index = slot.next_buffer = (slot.next_buffer + 1) % slot.buffer_count;
        SoundVoice& next = slot.buffers[static_cast<size_t>(index)];
        if (next.playing) mixer_.stop(next);
    }
    SoundVoice& voice = slot.buffers[static_cast<size_t>(index)];
    voice.gain = gain;
    mixer_.start(voice);
    return n * kChannelsPerSlot + index;
}

bool SoundEffects::playing(int32_t n, int32_t buffer) {
    const SoundSlot& slot = slots_[static_cast<size_t>(n)];
    if (buffer >= slot.buffer_count) return false;
    const platform::AudioDeviceLock lock;
    return slot.buffers[static_cast<size_t>(buffer)].playing;
}

void SoundEffects::stop(int32_t n, int32_t buffer) {
    SoundSlot& slot = slots_[static_cast<size_t>(n)];
    const platform::AudioDeviceLock lock;
    if (buffer < slot.buffer_count) {
        mixer_.stop(slot.buffers[static_cast<size_t>(buffer)]);
        return;
    }
    for (int32_t i = 0; i < slot.buffer_count; ++i)
        mixer_.stop(slot.buffers[static_cast<size_t>(i)]);
}

void SoundEffects::stop_all() {
    const platform::AudioDeviceLock lock;
    for (SoundSlot& slot : slots_) {
        for (SoundVoice& voice : slot.buffers)
            mixer_.stop(voice);
    }
}

int32_t SoundEffects::find_free() const {
    for (int32_t n = kSoundSlots - 1; n >= 0; --n) {
        if (slots_[static_cast<size_t>(n)].buffer_count == 0) return n;
    }
    return -1;
}

SoundEffects* sound_effects() {
    return g_sound_effects.get();
}

void start_sound() {
    stop_sound_device();
    g_sound_effects = std::make_unique<SoundEffects>();
    g_sound_effects->start();
}

void stop_sound_device() {
    g_sound_effects.reset();
}

void rebind_sound_window() {}

}  // namespace vexel
