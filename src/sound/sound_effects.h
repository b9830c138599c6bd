// Internal: the sound object. It owns the audio device, the mixer and the 4096 sound slots;
// init_engine creates it (start_sound) and shutdown_engine deletes it (stop_sound_device). The
// commands in vexel/sound.h reach it through sound_effects().
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "sound/sound_decoder.h"
#include "sound/sound_mixer.h"

namespace vexel {

inline constexpr int32_t kSoundSlots = 4096;
inline constexpr int32_t kMaxSoundBuffers = 4;
// A channel number is slot * kChannelsPerSlot + buffer index.
inline constexpr int32_t kChannelsPerSlot = 256;

// One numbered slot: up to four buffers playing the same sound, so that it can overlap itself.
struct SoundSlot {
    std::array<SoundVoice, kMaxSoundBuffers> buffers;
    int32_t buffer_count = 0;  // 0 while the slot is empty
    int32_t next_buffer = 0;   // where the next play starts looking
    std::string file_name;     // the name it was loaded from
    std::shared_ptr<const SoundData> data;
};

class SoundEffects {
public:
    SoundEffects();   // 4096 empty slots; no device until start
    ~SoundEffects();  // the slots emptied, then the device closed
    SoundEffects(const SoundEffects&) = delete;
    SoundEffects& operator=(const SoundEffects&) = delete;

    // Opens the audio device; false leaves sound off (every load and play then fails).
    bool start();
    bool has_device() const { return device_open_; }
    const platform::AudioDeviceFormat& device_format() const { return format_; }

    // n must be 0 ... 4095 for every slot operation.
    const SoundSlot& slot(int32_t n) const { return slots_[static_cast<size_t>(n)]; }
    // Stops every buffer of the slot and lets its sound go.
    void empty_slot(int32_t n);
    // The decoded sound at the device rate; null when it cannot be converted.
    std::shared_ptr<const SoundData> fit_to_device(DecodedSound&& sound) const;
    // The slot plays the sound in buffer_count buffers (clamped to 1 ... 4). Empties it first.
    void fill_slot(int32_t n, std::shared_ptr<const SoundData> data, int32_t buffer_count,
                   std::string file_name);

    // Chooses a buffer of a loaded slot and plays it once from its position with the gain. The
    // channel, or -1 when the only buffer plays already (or there is no device or no sound).
    int32_t play(int32_t n, StereoGain gain);
    bool playing(int32_t n, int32_t buffer);
    // Stops and rewinds one buffer; a buffer index not below the count stops them all.
    void stop(int32_t n, int32_t buffer);
    void stop_all();
    // The highest-numbered empty slot, or -1.
    int32_t find_free() const;

    // The device's mix function: the mixer's sum of what plays.
    static void mix(void* sound_effects, float* stereo, int32_t frames);

private:
    std::vector<SoundSlot> slots_;
    SoundMixer mixer_;
    platform::AudioDeviceFormat format_;
    bool device_open_ = false;
};

// The sound object, or null before start-up and after shutdown.
SoundEffects* sound_effects();
// Creates the sound object and its slots and opens the device (start-up).
void start_sound();
// Destroys the slots and then the sound object with its device (shutdown).
void stop_sound_device();
// Called when the engine window changes. The device belongs to no window, so nothing changes.
void rebind_sound_window();

}  // namespace vexel
