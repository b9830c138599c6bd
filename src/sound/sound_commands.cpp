#include <new>
#include <utility>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/sound.h>

#include "app/failure_report.h"
#include "io/file_stream.h"
#include "sound/sound_effects.h"

namespace vexel {

namespace {

constexpr int32_t kChannelLimit = kSoundSlots * kChannelsPerSlot;

bool slot_in_range(int32_t slot) {
    return slot >= 0 && slot < kSoundSlots;
}

bool channel_in_range(int32_t channel) {
    return channel >= 0 && channel < kChannelLimit;
}

void fail_load(const DynString& file, const char* reason) {
    set_error(3);
    log_load_failure("load_sound", file.c_str(), reason);
}

// The reason the file does not load, or null when the slot holds it.
const char* load_into(SoundEffects& sound, const DynString& file, const DynString& path,
                      int32_t slot, int32_t buffer_count) {
    FileStream stream;
    if (!stream.open_read(path.c_str())) return "not found";
    DecodedSound decoded;
    const char* reason = nullptr;
    if (!decode_sound(stream, decoded, &reason)) return reason;
    stream.close();
    std::shared_ptr<const SoundData> data = sound.fit_to_device(std::move(decoded));
    if (!data) return "cannot be converted to the device's rate";
    sound.fill_slot(slot, std::move(data), buffer_count, file.c_str());
    return nullptr;
}

}  // namespace

void load_sound(const DynString& file, int32_t slot, int32_t buffer_count) {
    if (!slot_in_range(slot)) {
        set_error(7);
        return;
    }
    DynString path;
    resolve_name(file, path, true);
    SoundEffects* sound = sound_effects();
    if (sound) sound->empty_slot(slot);
    if (!sound || !sound->has_device()) {
        fail_load(file, "sound is off (no audio device)");
        return;
    }
    const char* reason = nullptr;
    try {
        reason = load_into(*sound, file, path, slot, buffer_count);
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    if (reason) fail_load(file, reason);
}

int32_t find_free_sound() {
    const SoundEffects* sound = sound_effects();
    const int32_t slot = sound ? sound->find_free() : kSoundSlots - 1;
    if (slot < 0) set_error(7);
    return slot;
}

int32_t play_sound(int32_t slot, double pan, double volume) {
    if (!slot_in_range(slot)) {
        set_error(7);
        return 0;
    }
    const StereoGain gain = stereo_gain(volume_centibels(volume), pan_units(pan));
    SoundEffects* sound = sound_effects();
    return sound ? sound->play(slot, gain) : -1;
}

int32_t sound_playing(int32_t channel) {
    if (!channel_in_range(channel)) {
        set_error(7);
        return 0;
    }
    SoundEffects* sound = sound_effects();
    return sound && sound->playing(channel / kChannelsPerSlot, channel % kChannelsPerSlot) ? 1 : 0;
}

void stop_sound(int32_t channel) {
    SoundEffects* sound = sound_effects();
    if (!sound || !channel_in_range(channel)) return;
    sound->stop(channel / kChannelsPerSlot, channel % kChannelsPerSlot);
}

void stop_all_sounds() {
    if (SoundEffects* sound = sound_effects()) sound->stop_all();
}

}  // namespace vexel
