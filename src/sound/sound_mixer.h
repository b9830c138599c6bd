// Internal: the mixer behind the audio device. It sums the buffers that are playing, each with
// its gains, into the device's stereo float samples. Everything here runs under the device lock:
// the main thread starts and stops voices, the device thread mixes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/sound_gain.h"

namespace vexel {

// A loaded sound at the device rate, one copy however many buffers play it.
struct SoundData {
    std::vector<float> samples;  // interleaved
    int32_t channels = 1;        // 1 or 2
    int64_t frames() const { return static_cast<int64_t>(samples.size()) / channels; }
};

// One buffer of a slot: the sound it plays, how far it is, how loud.
struct SoundVoice {
    const SoundData* data = nullptr;
    int64_t position = 0;  // in frames
    StereoGain gain;
    bool playing = false;
    int32_t active_index = -1;  // its place in the mixer's list while it plays
};

class SoundMixer {
public:
    // Room for max_voices playing at once, so that mixing never allocates.
    explicit SoundMixer(size_t max_voices);

    // Plays the voice once on from its position; nothing when it plays already or has no sound.
    void start(SoundVoice& voice);
    // Stops the voice and rewinds it to its start.
    void stop(SoundVoice& voice);
    size_t playing_count() const { return active_.size(); }

    // frames stereo frames: the plain sum of the playing voices with their gains, clipped to
    // -1 ... 1. A voice that reaches its end stops and rewinds.
    void mix(float* stereo, int32_t frames);

private:
    void remove(SoundVoice& voice);

    std::vector<SoundVoice*> active_;
};

}  // namespace vexel
